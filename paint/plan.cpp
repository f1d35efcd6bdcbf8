// Planning the controls: each control's picture as operations in device pixels.
#include "paint/plan.h"

#include "paint/faces.h"
#include "paint/text_lines.h"
#include "paint/whole_pixels.h"

#include <algorithm>
#include <cmath>

namespace vorbix::paint {
namespace {

// Which control an item paints, for comparing two plans.
enum class Kind : std::uint64_t { label = 1, outline = 2, sprite = 3 };

std::uint64_t key_of(Kind kind, std::size_t list, int element = 0)
{
    return (static_cast<std::uint64_t>(kind) << 56) | (static_cast<std::uint64_t>(list) << 32) |
           static_cast<std::uint32_t>(element);
}

class Planner {
public:
    explicit Planner(PaintPlan& plan) : plan_(plan), scale_(plan.scale) {}

    // A rectangle of twips moved to the nearest edges between device pixels, so that its fill,
    // its hatch and its outline cover exactly the same whole pixels at every scale (a
    // half-twip position falls between two pixels, and each edge would otherwise round on its
    // own).
    Box snapped(const Rect& place) const
    {
        const double left = device(place.left), top = device(place.top);
        const double right = std::round(pixels(place.left, place.width) * scale_.ratio);
        const double bottom = std::round(pixels(place.top, place.height) * scale_.ratio);
        return Box{left, top, right - left, bottom - top};
    }

    void label(std::size_t index, const Label& label)
    {
        const Box place = snapped(label.place);
        begin(key_of(Kind::label, index), 0, place);
        if (label.opaque_background) add(PaintOp::fill(place, label.background));
        // The text's lines one below the other from the label's top, as far as it reaches.
        const double twips = scale_.twips_per_pixel;
        const double advance = line_advance(label.font, twips) * scale_.ratio;
        const auto lines = broken_lines(label.text, label.font, twips, place.width / scale_.ratio);
        for (std::size_t n = 0; n < lines.size(); ++n) {
            const double top = place.top + static_cast<double>(n) * advance;
            if (n > 0 && top >= place.bottom()) break;
            text_line(lines[n].text, label.font,
                      Box{place.left, top, place.width, std::min(advance, place.bottom() - top)}, place);
        }
    }

    void outline(const Outline& outline)
    {
        const Box place = snapped(outline.place);
        begin(key_of(Kind::outline, 0), 0, place);
        add_outline(place, outline.colour);
    }

    void sprite(const ShownSprite& shown)
    {
        const CellSprite& sprite = *shown.sprite;
        const Box place = snapped(sprite.place);
        begin(key_of(Kind::sprite, shown.pool, shown.element), sprite.z, place);
        // The outline's colour over the whole cell, then the fill and the hatch inside the
        // outline: the same pixels as an outline drawn over the fill, in three operations.
        add(PaintOp::fill(place, sprite.outline));
        const Box inside = inside_outline(place);
        if (inside.width <= 0.0 || inside.height <= 0.0) return;
        add(PaintOp::fill(inside, sprite.fill));
        if (sprite.pattern > plain_fill && sprite.pattern <= diagonal_cross) {
            add(PaintOp{PaintOp::Kind::hatch, inside, Rgb{}, static_cast<FillPattern>(sprite.pattern)});
        }
    }

private:
    double pixels(float twips) const { return static_cast<double>(twips) / scale_.twips_per_pixel; }
    double pixels(float from, float length) const { return pixels(from) + pixels(length); }
    double device(float twips) const { return std::round(pixels(twips) * scale_.ratio); }

    // A new item. Every operation lies on whole device pixels inside its box and paints no
    // pixel outside it, so the box is all that its picture covers.
    void begin(std::uint64_t key, std::uint64_t z, const Box& place)
    {
        plan_.items.push_back(PaintItem{key, z, place, plan_.ops.size(), 0});
    }

    void add(const PaintOp& op)
    {
        plan_.ops.push_back(op);
        ++plan_.items.back().op_count;
    }

    // An outline is a line one logical pixel wide, in whole device pixels, just inside the
    // box's edge.
    double line_width() const { return std::max(1.0, std::round(scale_.ratio)); }

    Box inside_outline(const Box& edge) const
    {
        const double line = line_width();
        return Box{edge.left + line, edge.top + line, edge.width - 2 * line, edge.height - 2 * line};
    }

    // An outline with nothing inside it, painted as four strips so that its corners are
    // always closed.
    void add_outline(const Box& edge, Rgb colour)
    {
        const double line = line_width();
        const double across = std::min(line, edge.width), down = std::min(line, edge.height);
        add(PaintOp::fill({edge.left, edge.top, edge.width, down}, colour));
        add(PaintOp::fill({edge.left, edge.bottom() - down, edge.width, down}, colour));
        add(PaintOp::fill({edge.left, edge.top, across, edge.height}, colour));
        add(PaintOp::fill({edge.right() - across, edge.top, across, edge.height}, colour));
    }

    void text_line(const std::string& text, const FontSpec& font, const Box& line, const Box& clip)
    {
        const int run = static_cast<int>(plan_.runs.size());
        plan_.runs.push_back(TextRun{text, font, clip});
        const PaintOp op{PaintOp::Kind::text, line, Rgb{}, plain_fill, run};
        add(op);
        // A face without a bold style of its own is struck a second time, a pixel to the right.
        if (struck_twice(font)) {
            PaintOp again = op;
            again.box.left += scale_.ratio;
            add(again);
        }
    }

    PaintPlan& plan_;
    Scale scale_;
};

}  // namespace

PaintPlan plan_of(const WindowView& window, const Scale& scale)
{
    PaintPlan plan;
    plan.scale = scale;
    plan.frame = frame_of(window, scale.twips_per_pixel);
    plan.width = whole(plan.frame.width * scale.ratio);
    plan.height = whole(plan.frame.height * scale.ratio);
    plan.background = window.background;
    plan.ops.reserve(6 * (window.labels.size() + 1 + window.pools.size() * 64));
    Planner planner(plan);
    for (std::size_t i = 0; i < window.labels.size(); ++i) {
        if (window.labels[i]->visible) planner.label(i, *window.labels[i]);
    }
    if (window.outline->visible) planner.outline(*window.outline);
    for (const ShownSprite& shown : sprites_bottom_up(window)) planner.sprite(shown);
    return plan;
}

}  // namespace vorbix::paint
