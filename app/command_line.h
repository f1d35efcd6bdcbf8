// The game's command line, parsed the Qt way: --help and --version answer at once, with or
// without a display; anything the game does not know is an error.
#pragma once

#include <optional>
#include <string>

namespace vorbix::app {

struct Options {
};

// What the command line asks for: options to run the game with, or an exit status when the
// program has already answered (help, version) or refused (an unknown option, on one line).
struct CommandLine {
    Options options;
    std::optional<int> exit_status;
};

CommandLine parse_command_line(int argc, char** argv);

}  // namespace vorbix::app
