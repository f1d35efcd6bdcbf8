// The window's view: the order in which its cell sprites are painted.
#include "platform/window_view.h"

#include <algorithm>

namespace vorbix {
namespace {

template <typename Control>
const Control* named(std::span<const Control* const> controls, std::string_view name)
{
    // std::find_if: the browser build's standard library has no ranges algorithms.
    const auto found = std::find_if(controls.begin(), controls.end(),
                                    [name](const Control* control) { return control->name == name; });
    return found != controls.end() ? *found : nullptr;
}

}  // namespace

const Label* label_named(const WindowView& window, std::string_view name) { return named(window.labels, name); }

const PushButton* button_named(const WindowView& window, std::string_view name) { return named(window.buttons, name); }

std::vector<ShownSprite> sprites_bottom_up(const WindowView& window)
{
    std::vector<ShownSprite> shown;
    for (std::size_t p = 0; p < window.pools.size(); ++p) {
        const std::span<const CellSprite> sprites = window.pools[p]->elements();
        for (std::size_t k = 0; k < sprites.size(); ++k) {
            if (sprites[k].visible) shown.push_back({p, static_cast<int>(k), &sprites[k]});
        }
    }
    // Sprites of one pool that were never brought to the front share their template's
    // stacking number; they keep the order of their pools and element numbers, the order in
    // which they were listed.
    std::stable_sort(shown.begin(), shown.end(),
                     [](const ShownSprite& a, const ShownSprite& b) { return a.sprite->z < b.sprite->z; });
    return shown;
}

}  // namespace vorbix
