// Runs a replay script in-process, or through the vorbix-replay program, for tests, and
// splits what it printed into lines.
#pragma once

#include "script/replay.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>

namespace vorbix::testing {

inline std::vector<std::string> lines_of(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

struct ReplayRun {
    int status = -1;
    std::string out;
    std::string error;
    std::vector<std::string> dumps;   // one line of standard output each
    std::vector<std::string> errors;  // one line of standard error each
};

inline ReplayRun finished_run(int status, std::string out, std::string error)
{
    ReplayRun run{status, std::move(out), std::move(error), {}, {}};
    run.dumps = lines_of(run.out);
    run.errors = lines_of(run.error);
    return run;
}

inline ReplayRun run_replay(const std::string& script)
{
    std::istringstream in(script);
    std::ostringstream out;
    std::ostringstream err;
    const int status = run_script(in, out, err);
    return finished_run(status, out.str(), err.str());
}

// A text as one word of the shell, quoted.
inline std::string shell_quoted(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

#ifdef VORBIX_REPLAY_PROGRAM
inline std::string file_text(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// The program itself, given the script as a file or, with from_input, on standard input.
inline ReplayRun run_program(const std::string& script, bool from_input = false)
{
    const std::string base =
        ::testing::TempDir() + "replay_" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::ofstream(base + ".txt", std::ios::binary) << script;
    const std::string command = std::string(VORBIX_REPLAY_PROGRAM) + (from_input ? " < " : " ") + base + ".txt > " +
                                base + ".out 2> " + base + ".err";
    const int status = std::system(command.c_str());
    return finished_run(WIFEXITED(status) ? WEXITSTATUS(status) : -1, file_text(base + ".out"),
                        file_text(base + ".err"));
}
#endif

}  // namespace vorbix::testing
