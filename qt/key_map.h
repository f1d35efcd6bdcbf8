// Qt's key codes as the game's 16-bit virtual-key codes.
#pragma once

namespace vorbix::qt {

// A code that no key of the game acts on.
inline constexpr int inert_key = 0;

// Arrows give 37 to 40, letters 65 to 90 in either case, digits 48 to 57; every other key
// gives inert_key.
int virtual_key(int qt_key);

}  // namespace vorbix::qt
