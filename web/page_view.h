// The window as the page draws it. The controls (labels, outline, buttons, curtain halves,
// stacking) go as one JSON object, which changes seldom; the visible sprites, which change
// with every step, go as numbers the page reads straight from the module's memory.
// Positions are in twips.
#pragma once

#include "platform/window_view.h"

#include <optional>
#include <string>
#include <vector>

namespace vorbix::web {

std::string controls_json(const WindowView& window);

// The controls as they were last written, to tell whether they changed since.
class ControlsSeen {
public:
    // Whether the window's controls differ from the ones seen last; they are seen now.
    bool changed(const WindowView& window);

private:
    struct Seen {
        std::string caption;
        Rgb background;
        float client_width = 0.0f;
        float client_height = 0.0f;
        std::vector<Label> labels;
        Outline outline;
        std::vector<PushButton> buttons;
        std::vector<Panel> curtain;
        std::vector<std::string> stacking;
        friend bool operator==(const Seen&, const Seen&) = default;
    };
    std::optional<Seen> seen_;
};

// How many numbers describe one sprite.
inline constexpr int sprite_record_size = 10;

// The visible sprites in painting order, each as: pool, element, left, top, width, height,
// fill (0xrrggbb), pattern, outline (0xrrggbb), stacking number.
std::vector<float> sprite_records(const WindowView& window);

}  // namespace vorbix::web
