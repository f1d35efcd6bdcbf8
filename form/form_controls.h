// Every control of the game window with its designed values. A restart destroys them all and
// builds them again from this design.
#pragma once

#include "platform/controls.h"
#include "platform/sprite_pool.h"
#include "platform/timer.h"
#include "platform/window_view.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vorbix {

// Twips taken by the window's frame and title bar around the client area.
inline constexpr float frame_width = 120.0f;
inline constexpr float frame_height = 450.0f;

// The designed client area of the window.
inline constexpr float design_client_width = 5850.0f;
inline constexpr float design_client_height = 5925.0f;

struct FormControls {
    FormControls();
    FormControls(const FormControls&) = delete;
    FormControls& operator=(const FormControls&) = delete;

    float client_width() const { return outer_width - frame_width; }
    float client_height() const { return outer_height - frame_height; }

    // Raises a button or a curtain half, by its name, above the other window-system controls.
    void bring_to_front(std::string_view widget);

    // The window and its controls as every front end reads them.
    WindowView view() const;

    // The window itself.
    std::string caption = "Vorbix";
    Rgb background{255, 255, 0};
    float outer_width;
    float outer_height;
    bool shown = false;

    // Window-system controls, drawn above everything painted on the window's surface, in the
    // order of widget_order (names, last on top), which starts as they are declared here:
    // the curtain halves above the buttons.
    PushButton Pause;
    PushButton Command1;
    Panel covertop;
    Panel coverbottom;
    std::vector<std::string_view> widget_order;

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

    // The sprites' stacking order. Members are built in the order they are declared, and each
    // pool's template takes the next place in it as it is built: the order of these lines
    // decides which pool is drawn on top (Shape1, the falling piece, over the well's Shape2
    // and the preview's Shape3). order must come before them.
    StackingOrder order;
    SpritePool Shape3;
    SpritePool Shape2;
    SpritePool Shape1;

    // Whether the curtain has been closed in this load; its ticks count only from then on.
    bool covered = false;

private:
    // The lists of the view, in the order the dump writes them.
    std::array<const Label*, 6> labels_{&npiece, &scorelabel, &hscorelabel, &rowslabel, &piecelabel, &Level};
    std::array<const SpritePool*, 3> pools_{&Shape1, &Shape2, &Shape3};
    std::array<const PushButton*, 2> buttons_{&Pause, &Command1};
    std::array<const Panel*, 2> curtain_{&covertop, &coverbottom};
    std::array<const Timer*, timer_count> timers_{&Timer1, &Timer2, &Timer3};
};

}  // namespace vorbix
