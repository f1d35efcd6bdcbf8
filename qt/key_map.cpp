// The key table between Qt and the game.
#include "qt/key_map.h"

#include <Qt>

namespace vorbix::qt {

int virtual_key(int qt_key)
{
    switch (qt_key) {
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    default: break;
    }
    // Qt reports a letter key by its capital whether or not Shift is held, and both Qt and
    // the game number letters and digits by their ASCII codes.
    if (qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z) return qt_key;
    if (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9) return qt_key;
    return inert_key;
}

}  // namespace vorbix::qt
