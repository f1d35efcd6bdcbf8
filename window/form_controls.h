// Every control of the game window with its designed values. A restart destroys them all and
// builds them again from this design.
#pragma once

#include "platform/controls.h"
#include "platform/sprite_pool.h"
#include "platform/timer.h"

#include <string>
#include <vector>

namespace vorbix {

// Twips taken by the window's frame and title bar around the client area.
inline constexpr float frame_width = 120.0f;
inline constexpr float frame_height = 450.0f;

struct FormControls {
    FormControls();
    FormControls(const FormControls&) = delete;
    FormControls& operator=(const FormControls&) = delete;

    float client_width() const { return outer_width - frame_width; }
    float client_height() const { return outer_height - frame_height; }

    void bring_to_front(WidgetId widget);

    // The window itself.
    std::string caption = "Vorbix";
    Rgb background{255, 255, 0};
    float outer_width;
    float outer_height;
    bool shown = false;

    // Window-system controls, drawn above everything painted on the window's surface, in the
    // order of widget_order (last on top).
    PushButton Pause;
    PushButton Command1;
    Panel covertop;
    Panel coverbottom;
    std::vector<WidgetId> widget_order;

    Timer Timer1;
    Timer Timer2;
    Timer Timer3;

    // Painted on the window's surface.
    Label npiece;
    Outline backdrop;
    Label scorelabel;
    Label hscorelabel;
    Label rowslabel;
    Label piecelabel;
    Label Level;

    StackingOrder order;
    SpritePool Shape3;
    SpritePool Shape2;
    SpritePool Shape1;

    // Whether the curtain has been closed in this load; its ticks count only from then on.
    bool covered = false;
};

// The designed client area of the window.
inline constexpr float design_client_width = 5850.0f;
inline constexpr float design_client_height = 5925.0f;

}  // namespace vorbix
