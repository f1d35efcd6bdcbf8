// The window system places its controls in whole logical pixels.
#pragma once

#include <cmath>

namespace vorbix::paint {

// The half-up rounding of the window system's whole pixels.
inline int whole(double pixels) { return static_cast<int>(std::floor(pixels + 0.5)); }

}  // namespace vorbix::paint
