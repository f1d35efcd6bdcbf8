// libFuzzer target over vorbix-replay: any bytes as a script. Every input must run to its end
// (exit 0) or stop with exactly one "line N: ..." message (exit 2); a crash, a sanitizer
// report, a broken game invariant or a run that never ends is a fault. Along the way the
// game is checked after every line, as the event-stream fuzz test checks it.
#include "script/replay.h"
#include "support/game_watch.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

[[noreturn]] void fault(const std::string& what, const std::string& script)
{
    std::fprintf(stderr, "replay fuzzer: %s\n--- script ---\n%s\n--- end ---\n", what.c_str(), script.c_str());
    std::abort();
}

bool is_line_message(const std::string& error)
{
    if (error.rfind("line ", 0) != 0 || error.empty() || error.back() != '\n') return false;
    std::size_t i = 5;
    while (i < error.size() && error[i] >= '0' && error[i] <= '9') ++i;
    return i > 5 && error.compare(i, 2, ": ") == 0 && error.find('\n') == error.size() - 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string script(reinterpret_cast<const char*>(data), size);

    // The program's own reading and running of the script.
    std::istringstream in(script);
    std::ostringstream out;
    std::ostringstream error;
    const int status = vorbix::run_script(in, out, error);
    if (status == 0 && !error.str().empty()) fault("exit 0 with a message: " + error.str(), script);
    if (status == 2 && !is_line_message(error.str())) fault("exit 2 without one line message: " + error.str(), script);
    if (status != 0 && status != 2) fault("exit status " + std::to_string(status), script);

    // The same lines once more, with the game's promises checked after each one.
    vorbix::Replay replay;
    vorbix::testing::GameWatch watch;
    std::istringstream lines(script);
    for (std::string line; std::getline(lines, line);) {
        try {
            replay.run_line(line);
        } catch (const vorbix::ScriptError&) {
            break;
        }
        if (replay.started()) {
            if (const std::string problem = watch.check(replay.form()); !problem.empty()) {
                fault("after \"" + line.substr(0, 80) + "\": " + problem, script);
            }
        }
    }
    return 0;
}
