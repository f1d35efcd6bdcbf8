// The replay engine: runs a script's lines against the real game on the headless front end.
// It is the one reader of script lines: vorbix-replay, the tests, the benchmarks and the
// real window's playback all run scripts through it.
#pragma once

#include "form/form1.h"
#include "headless/headless_front_end.h"
#include "script/command.h"
#include "script/lines.h"

#include <cstdint>
#include <functional>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace vorbix {

class Replay {
public:
    using DumpSink = std::function<void(const std::string& json)>;

    explicit Replay(DumpSink sink = {});

    // Runs one line of a script; throws ScriptError when it cannot.
    void run_line(std::string_view line);
    // Runs one command; throws ScriptError when it cannot.
    void run(const script::Command& command);
    // Runs a script's lines up to its end, or up to the first that cannot run: then gives
    // "line N: what is wrong". Each command that ran is handed to ran, when given.
    std::optional<std::string> run(std::istream& script, const std::function<void(const script::Command&)>& ran = {});
    std::optional<std::string> run(script::Lines& lines, const std::function<void(const script::Command&)>& ran = {});

    HeadlessFrontEnd& front_end() { return front_end_; }
    const HeadlessFrontEnd& front_end() const { return front_end_; }
    Form1& form() { return form_; }
    const Form1& form() const { return form_; }
    bool started() const { return started_; }

    // The window as it stands, or before "start" as it is designed.
    WindowView view() const;
    std::string dump() const;

private:
    struct Run;
    void require_window(std::string_view command) const;
    void start();
    void click(std::string_view name);
    void require_answered() const;

    DumpSink sink_;
    HeadlessFrontEnd front_end_;
    Form1 form_{front_end_};
    FormControls design_;
    bool started_ = false;
};

// Called after each dump has been written, with the replay as it stands; may throw ScriptError.
using DumpObserver = std::function<void(Replay& replay)>;

// Runs a whole script: dumps go to out, and the first error stops the run with
// "line N: what is wrong" in error, as does a failure to read the script or to write a dump
// ("cannot read ...", "cannot write ..."), which program names. Gives the exit status: 0, or
// 2 after an error.
int run_script(script::Lines& script, std::ostream& out, std::ostream& error, const DumpObserver& observer = {},
               std::string_view program = {});
int run_script(std::istream& script, std::ostream& out, std::ostream& error, const DumpObserver& observer = {});

}  // namespace vorbix
