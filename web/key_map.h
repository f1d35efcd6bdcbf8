// The browser's key names as the game's 16-bit virtual-key codes.
#pragma once

#include <string_view>

namespace vorbix::web {

// The code of a key by its KeyboardEvent.key name: the arrows give 37 to 40, a letter in
// either case or a digit its capital's code, every other key key::none.
int virtual_key(std::string_view key);

}  // namespace vorbix::web
