// The changed areas between two plans, and the operations that paint them afresh.
#include "paint/plan.h"

#include <algorithm>

namespace vorbix::paint {
namespace {

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
    for (const Box& area : areas) ops.push_back(PaintOp::fill(area, plan.background));
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

}  // namespace vorbix::paint
