// The game's command line, parsed the Qt way: --help and --version answer at once, with or
// without a display; anything the game does not know is an error.
#pragma once

#include <optional>
#include <string>

namespace vorbix::app {

struct Options {
    // Write the game down as a vorbix-replay script in this file.
    std::optional<std::string> record;
    // Record over a file that is already there.
    bool overwrite = false;
    // Play the game of this script in the window instead.
    std::optional<std::string> watch;
};

// What the command line asks for: options to run the game with, or an exit status when the
// program has already answered (help, version) or refused (an unknown option, on one line).
struct CommandLine {
    Options options;
    std::optional<int> exit_status;
};

CommandLine parse_command_line(int argc, char** argv);

}  // namespace vorbix::app
