// The virtual-key codes a player's keys arrive as, written out here rather than taken from
// the game, so that a wrong code in the game shows up in the tests.
#pragma once

namespace vorbix {

inline constexpr int key_left = 37;
inline constexpr int key_up = 38;
inline constexpr int key_right = 39;
inline constexpr int key_down = 40;
inline constexpr int key_a = 65;
inline constexpr int key_p = 80;
inline constexpr int key_s = 83;

}  // namespace vorbix
