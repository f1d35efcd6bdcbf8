// The game window as assistive technology sees it (AT-SPI on the desktop): besides its real
// children, the push buttons with their captions, it lists the labels it paints (score, best
// score, rows, pieces, level, "Next Piece:") as static texts with their current text, and
// says when one of those texts changes.
#pragma once

#include "platform/window_view.h"

namespace vorbix::qt {

class GameWindow;

// Makes game windows describe themselves so; once per program, before a window is shown.
void install_accessible_window();

// Tells assistive technology of every painted label whose text differs from what it was last
// told. While none listens this costs one test of a flag.
void announce_label_changes(GameWindow& window, const WindowView& view);

}  // namespace vorbix::qt
