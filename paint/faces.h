// The faces that stand for the design's font families (paint/faces.txt).
#pragma once

#include "platform/controls.h"

#include <span>
#include <string_view>

namespace vorbix::paint {

struct Face {
    std::string_view family;  // as the design names it
    std::string_view face;    // the installed face that stands for it
    bool has_bold = true;
};

std::span<const Face> faces();

// Whether a font's text is struck twice: bold in a face that has no bold style of its own.
bool struck_twice(const FontSpec& font);

}  // namespace vorbix::paint
