// The key table between Qt and the game.
#include "qt/key_map.h"

#include "platform/port.h"

#include <Qt>

namespace vorbix::qt {

int virtual_key(int qt_key)
{
    switch (qt_key) {
    case Qt::Key_Left: return key::left;
    case Qt::Key_Up: return key::up;
    case Qt::Key_Right: return key::right;
    case Qt::Key_Down: return key::down;
    default: break;
    }
    // Qt reports a letter key by its capital whether or not Shift is held, and numbers
    // letters and digits by their character codes, as the game does.
    return qt_key < 0x80 ? key::of_character(static_cast<char32_t>(qt_key)) : key::none;
}

}  // namespace vorbix::qt
