// Where the player's window opens. The first time, centred on its screen at the game's own
// size times the largest comfortable zoom; after that as the player left it, kept with Qt's
// settings in the player's configuration folder (vorbix/vorbix.conf).
#pragma once

#include <QPoint>
#include <QSize>

#include <optional>

namespace vorbix::qt {

// The largest zoom, in steps of a half and never below 1, at which the game's window takes at
// most two thirds of the available height and fits its width.
double first_zoom(QSize own, QSize available);

struct WindowPlace {
    // The window's size as it was left, unmaximised, and where it stood.
    QSize size;
    std::optional<QPoint> position;
    bool maximised = false;
    bool full_screen = false;
};

// The place the window was left in; nothing when none was kept, or when what was kept no
// longer makes sense. A place off every screen keeps its size and loses its position.
std::optional<WindowPlace> saved_place();
void save_place(const WindowPlace& place);

}  // namespace vorbix::qt
