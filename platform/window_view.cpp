// The window's view: the order in which its cell sprites are painted.
#include "platform/window_view.h"

#include <algorithm>
#include <tuple>

namespace vorbix {

std::vector<ShownSprite> sprites_bottom_up(const WindowView& window)
{
    std::vector<ShownSprite> shown;
    for (std::size_t p = 0; p < window.pools.size(); ++p) {
        const SpritePool& pool = *window.pools[p];
        for (int k = 0; k < pool.size(); ++k) {
            if (pool.exists(k) && pool[k].visible) shown.push_back({p, k, &pool[k]});
        }
    }
    // Sprites of one pool that were never brought to the front share their template's
    // stacking number; they keep the order of their pools and element numbers.
    std::sort(shown.begin(), shown.end(), [](const ShownSprite& a, const ShownSprite& b) {
        return std::tie(a.sprite->z, a.pool, a.element) < std::tie(b.sprite->z, b.pool, b.element);
    });
    return shown;
}

}  // namespace vorbix
