// The window as the page draws it, as one JSON object: the surface's labels, outline and
// visible sprites in painting order, and the buttons and curtain halves that the page lays
// over its canvas as elements of their own. Positions are in twips.
#pragma once

#include "platform/window_view.h"

#include <string>

namespace vorbix::web {

std::string window_json(const WindowView& window);

}  // namespace vorbix::web
