// Reading the script language: one line at a time into the command it holds, every word
// checked. The replay engine, watching a recording and the page read scripts through it.
#pragma once

#include "script/command.h"

#include <optional>
#include <string>
#include <string_view>

namespace vorbix::script {

// The command of a line; nothing for a blank line or a comment, except that a moment
// comment ("# @MS") gives its Moment. Throws ScriptError, saying what is wrong, for a line
// that is not a command.
std::optional<Command> read_line(std::string_view line);

// A word as a message shows it: quoted, cut when it is long, with what a terminal would not
// show written out.
std::string shown(std::string_view word);

}  // namespace vorbix::script
