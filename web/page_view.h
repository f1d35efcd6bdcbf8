// The window as the page draws it, in what the page's script reads cheaply: the paint plan's
// operations and changed areas as numbers in the module's memory, the texts and the frame
// (title, size, buttons, curtain halves, stacking) as JSON, which change seldom.
#pragma once

#include "paint/plan.h"
#include "platform/port.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vorbix::web {

// How the page reads the numbers of a paint: the surface's width and height in device
// pixels, how many areas and operations follow, where the frame's JSON is when it changed
// (the page fills it in: the address of its text, or 0), then four numbers an area (left,
// top, width, height) and op_size an operation: kind, left, top, width, height, colour
// (0xrrggbb), pattern, run.
inline constexpr int frame_at = 4;
inline constexpr int op_size = 8;
std::vector<double> paint_numbers(const paint::PaintPlan& plan, std::span<const paint::Box> areas,
                                  std::span<const paint::PaintOp> ops);
// The numbers' layout as JSON: the op size, the numbers of the kinds of operation, the
// twips to a CSS pixel at the window's own size, and each fill pattern's tile as the eight
// rows of hatch_tile, by the pattern's number.
std::string layout_json();

// The plan's text runs: text, CSS font and clip.
std::string runs_json(const paint::PaintPlan& plan);
// The frame, with the push button a click reaches now ("shown": its name and whether its
// click asks the question, or null), the window's labels as they read (name, text and
// whether shown) and what the page's live region is to tell ("news", "" for nothing).
std::string frame_json(const paint::Frame& frame, const paint::Scale& scale, const std::optional<ShownButton>& shown,
                       const std::string& labels, const std::string& news);
// The window's labels as the frame gives them.
std::string labels_json(const WindowView& window);

// A design font in the page's CSS, under the design's family name, which the page's style
// sheet maps to the face that stands for it, at its size in the CSS pixels of a scale: a
// point is 1/72 of the inch that 1440 twips make.
std::string css_font(const FontSpec& font, const paint::Scale& scale);

}  // namespace vorbix::web
