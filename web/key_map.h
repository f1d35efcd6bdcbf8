// The browser's keys and controllers as the game's: its key names as the game's 16-bit
// virtual-key codes, and a controller of the standard layout as the game's reading of one.
#pragma once

#include "platform/controller_map.h"

#include <cstdint>
#include <string_view>

namespace vorbix::web {

// The code of a key by its KeyboardEvent.key name: the arrows give 37 to 40, a letter in
// either case or a digit its capital's code, every other key key::none.
int virtual_key(std::string_view key);

// A controller with the Gamepad API's standard layout: bit i of `pressed` for its i-th
// button, and its left stick's axes, from -1 (left, up) to 1 (right, down).
PadReading standard_pad(std::uint32_t pressed, float stick_x, float stick_y);

}  // namespace vorbix::web
