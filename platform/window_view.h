// A read-only view of the game window, as every front end shows it and the dump writes it:
// the window itself, then its controls, each kind listed once, in the window's own order.
#pragma once

#include "platform/controls.h"
#include "platform/sprite_pool.h"
#include "platform/timer.h"

#include <span>
#include <string_view>
#include <vector>

namespace vorbix {

struct WindowView {
    std::string_view caption;
    Rgb background;
    bool shown = false;
    // In twips; the client area is the outer size less the window's frame.
    float outer_width = 0.0f;
    float outer_height = 0.0f;
    float client_width = 0.0f;
    float client_height = 0.0f;

    // Painted on the window's own surface.
    std::span<const Label* const> labels;
    const Outline* outline = nullptr;
    std::span<const SpritePool* const> pools;

    // Window-system controls, above everything painted; stacking names them bottom to top.
    std::span<const PushButton* const> buttons;
    std::span<const Panel* const> curtain;
    std::span<const std::string_view> stacking;

    std::span<const Timer* const> timers;
};

// A visible cell sprite, with where it comes from: its pool's place in the view's list and
// its element number.
struct ShownSprite {
    std::size_t pool;
    int element;
    const CellSprite* sprite;
};

// The visible cell sprites in the order they are painted, the one brought to the front last
// at the end.
std::vector<ShownSprite> sprites_bottom_up(const WindowView& window);

// The window's label or push button of that name, or nullptr when it has none.
const Label* label_named(const WindowView& window, std::string_view name);
const PushButton* button_named(const WindowView& window, std::string_view name);

}  // namespace vorbix
