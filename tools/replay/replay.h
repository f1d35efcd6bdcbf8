// The replay engine: runs a script's lines against the real game on the headless backend.
#pragma once

#include "platform/headless/headless_backend.h"
#include "window/form1.h"

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vorbix {

// A line that cannot be run; the message says what is wrong with it.
struct ScriptError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Replay {
public:
    using DumpSink = std::function<void(const std::string& json)>;

    explicit Replay(DumpSink sink);

    // Runs one line of a script; throws ScriptError when it cannot.
    void run_line(std::string_view line);

    const HeadlessBackend& backend() const { return backend_; }
    const Form1* form() const { return form_.get(); }
    Form1* form() { return form_.get(); }
    std::string dump() const;

private:
    void require_window(std::string_view command) const;
    void start();
    void click(std::string_view name);

    DumpSink sink_;
    HeadlessBackend backend_;
    std::unique_ptr<Form1> form_;
};

// Called after each dump has been written, with the replay as it stands; may throw ScriptError.
using DumpObserver = std::function<void(Replay& replay)>;

// Runs a whole script: dumps go to out, and the first error stops the run with
// "line N: what is wrong" in error. Gives the exit status: 0, or 2 after an error.
int run_script(std::istream& script, std::ostream& out, std::ostream& error, const DumpObserver& observer = {});

}  // namespace vorbix
