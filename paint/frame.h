// The window apart from its painted surface, as the window system shows it: its title, its
// client size and its push buttons and curtain halves, in whole logical pixels.
#pragma once

#include "platform/controls.h"
#include "platform/window_view.h"

#include <string>
#include <vector>

namespace vorbix::paint {

// A push button or a curtain half: a window-system control above the painted surface, in
// whole logical pixels.
struct Widget {
    std::string name;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool visible = false;
    // A button's caption and font, and the lines it shows: the caption broken within the
    // button's width, one line below the other at line_advance logical pixels.
    std::string caption;
    FontSpec font;
    std::vector<std::string> lines;
    double line_advance = 0.0;
    // A curtain half's black rectangle, at its top left corner.
    std::string inner_name;
    int inner_width = 0;
    int inner_height = 0;
    friend bool operator==(const Widget&, const Widget&) = default;
};

// The window apart from its painted surface: title, client size in logical pixels, and the
// window-system controls, bottom to top.
struct Frame {
    std::string caption;
    int width = 0;
    int height = 0;
    std::vector<Widget> buttons;
    std::vector<Widget> curtain;
    std::vector<std::string> stacking;
    friend bool operator==(const Frame&, const Frame&) = default;
};

// The window's frame at twips_per_pixel twips to a logical pixel.
Frame frame_of(const WindowView& window, double twips_per_pixel);

}  // namespace vorbix::paint
