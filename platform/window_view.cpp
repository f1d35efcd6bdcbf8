// The window's view: the order in which its cell sprites are painted.
#include "platform/window_view.h"

#include <algorithm>
#include <cstdint>
#include <tuple>

namespace vorbix {

std::vector<const CellSprite*> sprites_bottom_up(const WindowView& window)
{
    // Sprites of one pool that were never brought to the front share their template's
    // stacking number; they keep the order of their pools and element numbers.
    struct Stacked {
        std::uint64_t z;
        std::size_t pool;
        int element;
        const CellSprite* sprite;
    };
    std::vector<Stacked> shown;
    for (std::size_t p = 0; p < window.pools.size(); ++p) {
        const SpritePool& pool = *window.pools[p];
        for (int k = 0; k < pool.size(); ++k) {
            if (pool.exists(k) && pool[k].visible) shown.push_back({pool[k].z, p, k, &pool[k]});
        }
    }
    std::sort(shown.begin(), shown.end(), [](const Stacked& a, const Stacked& b) {
        return std::tie(a.z, a.pool, a.element) < std::tie(b.z, b.pool, b.element);
    });
    std::vector<const CellSprite*> sprites;
    sprites.reserve(shown.size());
    for (const Stacked& entry : shown) sprites.push_back(entry.sprite);
    return sprites;
}

}  // namespace vorbix
