// Texts broken into lines, measured with the faces' own metrics: the plan decides where a
// label's text or a button's caption breaks, and the executors draw single lines.
#pragma once

#include "platform/controls.h"

#include <string>
#include <string_view>
#include <vector>

namespace vorbix::paint {

struct TextLine {
    std::string text;
    // In logical pixels.
    double width = 0.0;
    friend bool operator==(const TextLine&, const TextLine&) = default;
};

// A font's size in logical pixels at twips_per_pixel twips to a logical pixel.
double pixel_size(const FontSpec& font, double twips_per_pixel);

// The width of a line of text in a font, in logical pixels: the advances of its characters
// and the kerning between them.
double text_width(std::string_view text, const FontSpec& font, double twips_per_pixel);

// A text broken at its blanks into lines no wider than width (logical pixels), each line as
// long as it can be; a word wider than that stands alone on its line.
std::vector<TextLine> broken_lines(std::string_view text, const FontSpec& font, double twips_per_pixel, double width);

// From the top of one line to the top of the next, in logical pixels: the face's ascent and
// descent, the lines on whole logical pixels as the window system places them.
double line_advance(const FontSpec& font, double twips_per_pixel);

}  // namespace vorbix::paint
