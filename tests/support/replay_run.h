// Runs a replay script in-process for tests and splits what it printed into lines.
#pragma once

#include "tools/replay/replay.h"

#include <sstream>
#include <string>
#include <vector>

namespace vorbix::testing {

struct ReplayRun {
    int status = 0;
    std::vector<std::string> dumps;   // one line of standard output each
    std::vector<std::string> errors;  // one line of standard error each
};

inline std::vector<std::string> lines_of(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

inline ReplayRun run_replay(const std::string& script)
{
    std::istringstream in(script);
    std::ostringstream out;
    std::ostringstream err;
    ReplayRun run;
    run.status = run_script(in, out, err);
    run.dumps = lines_of(out.str());
    run.errors = lines_of(err.str());
    return run;
}

}  // namespace vorbix::testing
