// How the window looks, decided once for every front end: the window's view becomes a plan
// of drawing operations in device pixels, and a plan compared with the one painted before
// gives the areas to paint again. The desktop executes the plan with QPainter and the page
// on its canvas; neither decides anything of its own about the picture. Both paint in
// logical pixels, a box's device pixels divided by the ratio, so that a font's points and a
// hatch tile's pixels grow with the picture as its cells do.
#pragma once

#include "paint/frame.h"
#include "platform/controls.h"
#include "platform/window_view.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vorbix::paint {

// How the window's twips come to the device: twips to a logical pixel (15 at 96 DPI), and
// device pixels to a logical pixel (2 on a screen scaled by two).
struct Scale {
    double twips_per_pixel = 15.0;
    double ratio = 1.0;
    friend bool operator==(const Scale&, const Scale&) = default;
};

// A rectangle in device pixels.
struct Box {
    double left = 0.0;
    double top = 0.0;
    double width = 0.0;
    double height = 0.0;
    double right() const { return left + width; }
    double bottom() const { return top + height; }
    bool meets(const Box& other) const;
    friend bool operator==(const Box&, const Box&) = default;
};

// One drawing operation. A fill paints its box in its colour; a hatch paints the black lines
// of a fill pattern over its box, the pattern's tile (hatch_tile) repeated from the window's
// top left corner, a logical pixel to each of the tile's pixels; a text paints one line, a run
// of the plan, in its colour, its face's ascent below the top left corner of its box, showing
// only inside the run's clip. The plan has broken every text into its lines.
struct PaintOp {
    enum class Kind : std::uint8_t { fill, hatch, text };

    Kind kind = Kind::fill;
    Box box;
    Rgb colour;
    FillPattern pattern = plain_fill;
    int run = -1;

    static PaintOp fill(const Box& box, Rgb colour) { return PaintOp{Kind::fill, box, colour}; }
    friend bool operator==(const PaintOp&, const PaintOp&) = default;
};

struct TextRun {
    std::string text;
    FontSpec font;
    Box clip;
    friend bool operator==(const TextRun&, const TextRun&) = default;
};

// What one control paints: its operations, over bounds.
struct PaintItem {
    // Which control: a label, the outline or a sprite of a pool.
    std::uint64_t key = 0;
    std::uint64_t z = 0;
    Box bounds;
    std::size_t first_op = 0;
    std::size_t op_count = 0;
};

struct PaintPlan {
    Scale scale;
    // The surface in device pixels.
    int width = 0;
    int height = 0;
    Rgb background;
    // Every control's picture, in the order it is painted.
    std::vector<PaintItem> items;
    std::vector<PaintOp> ops;
    std::vector<TextRun> runs;
    Frame frame;

    std::span<const PaintOp> ops_of(const PaintItem& item) const
    {
        return std::span<const PaintOp>(ops).subspan(item.first_op, item.op_count);
    }
};

PaintPlan plan_of(const WindowView& window, const Scale& scale);

// The areas whose picture differs between the plan painted last and the one to paint: all of
// the surface when nothing was painted, or the surface or its background changed.
std::vector<Box> changed_areas(const PaintPlan* painted, const PaintPlan& next);

// The operations that paint these areas afresh: the background over each, then every
// control's operations that reach one of them, in painting order.
std::vector<PaintOp> ops_within(const PaintPlan& plan, std::span<const Box> areas);

// The eight rows of the black lines' 8 by 8 tile of a fill pattern, bit 0 the left column;
// all zero for the plain fill.
std::array<std::uint8_t, 8> hatch_tile(FillPattern pattern);

}  // namespace vorbix::paint
