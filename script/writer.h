// Writing the script language: the line of each command, as the reader reads it back. The
// recorder writes through it.
#pragma once

#include "script/command.h"

#include <string>
#include <string_view>

namespace vorbix::script {

// The line of a command, without its line end.
std::string line_of(const Command& command);

// A comment line, which a replay passes over.
std::string comment_line(std::string_view text);

}  // namespace vorbix::script
