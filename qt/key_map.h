// Qt's key codes as the game's 16-bit virtual-key codes.
#pragma once

namespace vorbix::qt {

// Arrows give 37 to 40, letters 65 to 90 in either case, digits 48 to 57; every other key
// gives key::none.
int virtual_key(int qt_key);

}  // namespace vorbix::qt
