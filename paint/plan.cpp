// The paint plan: each control's picture in device pixels, and what changed between two.
#include "paint/plan.h"

#include "paint/faces.h"

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

PaintOp fill(const Box& box, Rgb colour) { return PaintOp{PaintOp::Kind::fill, box, colour}; }

// The half-up rounding of the window system's whole pixels.
int whole(double pixels) { return static_cast<int>(std::floor(pixels + 0.5)); }

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
        if (label.opaque_background) add(fill(place, label.background));
        const int run = static_cast<int>(plan_.runs.size());
        plan_.runs.push_back(TextRun{label.text, label.font, place});
        const PaintOp text{PaintOp::Kind::text, place, Rgb{}, plain_fill, run};
        add(text);
        // A face without a bold style of its own is struck a second time, a pixel to the right.
        if (struck_twice(label.font)) {
            PaintOp again = text;
            again.box.left += scale_.ratio;
            add(again);
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
        add(fill(place, sprite.outline));
        const Box inside = inside_outline(place);
        if (inside.width <= 0.0 || inside.height <= 0.0) return;
        add(fill(inside, sprite.fill));
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
        add(fill({edge.left, edge.top, edge.width, down}, colour));
        add(fill({edge.left, edge.bottom() - down, edge.width, down}, colour));
        add(fill({edge.left, edge.top, across, edge.height}, colour));
        add(fill({edge.right() - across, edge.top, across, edge.height}, colour));
    }

    PaintPlan& plan_;
    Scale scale_;
};

Widget widget_of(const Rect& place, double twips_per_pixel)
{
    const auto pixels = [&](float twips) { return whole(static_cast<double>(twips) / twips_per_pixel); };
    Widget widget;
    widget.left = pixels(place.left);
    widget.top = pixels(place.top);
    widget.width = pixels(place.width);
    widget.height = pixels(place.height);
    return widget;
}

Frame frame_of(const WindowView& window, double twips_per_pixel)
{
    Frame frame;
    frame.caption = window.caption;
    frame.width = whole(static_cast<double>(window.client_width) / twips_per_pixel);
    frame.height = whole(static_cast<double>(window.client_height) / twips_per_pixel);
    for (const PushButton* button : window.buttons) {
        Widget& widget = frame.buttons.emplace_back(widget_of(button->place, twips_per_pixel));
        widget.name = button->name;
        widget.visible = button->visible;
        widget.caption = button->caption;
        widget.font = button->font;
    }
    for (const Panel* half : window.curtain) {
        Widget& widget = frame.curtain.emplace_back(widget_of(half->place, twips_per_pixel));
        const Widget inside = widget_of(Rect{0.0f, 0.0f, half->child_width, half->child_height}, twips_per_pixel);
        widget.name = half->name;
        widget.visible = half->visible;
        widget.inner_name = half->child_name;
        widget.inner_width = inside.width;
        widget.inner_height = inside.height;
    }
    frame.stacking.assign(window.stacking.begin(), window.stacking.end());
    return frame;
}

bool same_op(const PaintPlan& a, const PaintOp& x, const PaintPlan& b, const PaintOp& y)
{
    if (x.kind != PaintOp::Kind::text) return x == y;
    return y.kind == PaintOp::Kind::text && x.box == y.box && x.colour == y.colour &&
           a.runs[static_cast<std::size_t>(x.run)] == b.runs[static_cast<std::size_t>(y.run)];
}

bool same_picture(const PaintPlan& a, const PaintItem& x, const PaintPlan& b, const PaintItem& y)
{
    const auto ops_a = a.ops_of(x), ops_b = b.ops_of(y);
    return x.z == y.z && std::equal(ops_a.begin(), ops_a.end(), ops_b.begin(), ops_b.end(),
                                    [&](const PaintOp& p, const PaintOp& q) { return same_op(a, p, b, q); });
}

// The plan's items by their keys.
std::vector<const PaintItem*> by_key(const PaintPlan& plan)
{
    std::vector<const PaintItem*> items;
    items.reserve(plan.items.size());
    for (const PaintItem& item : plan.items) items.push_back(&item);
    std::sort(items.begin(), items.end(), [](const PaintItem* a, const PaintItem* b) { return a->key < b->key; });
    return items;
}

// Adds the bounds of the items whose picture differs between two lists in key order: an item
// in one only has appeared or gone, one in both may have changed.
void add_changes(const PaintPlan& painted, std::span<const PaintItem* const> before, const PaintPlan& next,
                 std::span<const PaintItem* const> after, std::vector<Box>& areas)
{
    auto old_item = before.begin();
    auto new_item = after.begin();
    while (old_item != before.end() || new_item != after.end()) {
        if (new_item == after.end() || (old_item != before.end() && (*old_item)->key < (*new_item)->key)) {
            areas.push_back((*old_item++)->bounds);
        } else if (old_item == before.end() || (*new_item)->key < (*old_item)->key) {
            areas.push_back((*new_item++)->bounds);
        } else {
            if (!same_picture(painted, **old_item, next, **new_item)) {
                areas.push_back((*old_item)->bounds);
                if (!((*old_item)->bounds == (*new_item)->bounds)) areas.push_back((*new_item)->bounds);
            }
            ++old_item;
            ++new_item;
        }
    }
}

}  // namespace

bool Box::meets(const Box& other) const
{
    return left < other.right() && other.left < right() && top < other.bottom() && other.top < bottom();
}

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

std::vector<Box> changed_areas(const PaintPlan* painted, const PaintPlan& next)
{
    const Box whole_surface{0.0, 0.0, static_cast<double>(next.width), static_cast<double>(next.height)};
    if (painted == nullptr || !(painted->scale == next.scale) || painted->width != next.width ||
        painted->height != next.height || !(painted->background == next.background)) {
        return {whole_surface};
    }
    std::vector<Box> areas;
    // Mostly the two plans hold the same controls in the same order, and are compared item by
    // item; otherwise by their keys.
    const auto& before = painted->items;
    const auto& after = next.items;
    const bool same_order = std::equal(before.begin(), before.end(), after.begin(), after.end(),
                                       [](const PaintItem& a, const PaintItem& b) { return a.key == b.key; });
    if (same_order) {
        for (std::size_t i = 0; i < after.size(); ++i) {
            if (same_picture(*painted, before[i], next, after[i])) continue;
            areas.push_back(before[i].bounds);
            if (!(before[i].bounds == after[i].bounds)) areas.push_back(after[i].bounds);
        }
    } else {
        add_changes(*painted, by_key(*painted), next, by_key(next), areas);
    }
    return areas;
}

std::vector<PaintOp> ops_within(const PaintPlan& plan, std::span<const Box> areas)
{
    std::vector<PaintOp> ops;
    for (const Box& area : areas) ops.push_back(fill(area, plan.background));
    for (const PaintItem& item : plan.items) {
        const bool reached =
            std::any_of(areas.begin(), areas.end(), [&](const Box& a) { return a.meets(item.bounds); });
        if (reached) {
            const auto item_ops = plan.ops_of(item);
            ops.insert(ops.end(), item_ops.begin(), item_ops.end());
        }
    }
    return ops;
}

std::array<std::uint8_t, 8> hatch_tile(FillPattern pattern)
{
    // The tiles of the desktop painter's own brush patterns, so that every picture stays as
    // the window has always drawn it.
    switch (pattern) {
    case horizontal_lines: return {0x00, 0x00, 0x00, 0xff, 0x00, 0x00, 0x00, 0x00};
    case vertical_lines: return {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10};
    case upward_diagonal: return {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01};
    case downward_diagonal: return {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80};
    case cross_hatch: return {0x10, 0x10, 0x10, 0xff, 0x10, 0x10, 0x10, 0x10};
    case diagonal_cross: return {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81};
    default: return {};
    }
}

}  // namespace vorbix::paint
