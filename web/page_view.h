// The window as the page draws it. The controls (labels, outline, buttons, curtain halves,
// stacking) go as one JSON object, which changes seldom; the visible sprites, which change
// with every step, go as numbers the page reads straight from the module's memory.
// Positions are in twips.
#pragma once

#include "platform/window_view.h"

#include <string>
#include <vector>

namespace vorbix::web {

std::string controls_json(const WindowView& window);

// How many numbers describe one sprite.
inline constexpr int sprite_record_size = 10;

// The visible sprites in painting order, each as: pool, element, left, top, width, height,
// fill (0xrrggbb), pattern, outline (0xrrggbb), stacking number.
std::vector<float> sprite_records(const WindowView& window);

}  // namespace vorbix::web
