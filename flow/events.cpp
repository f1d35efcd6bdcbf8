// The window's events as front ends deliver them: program start, keys, clicks on the named
// buttons and timer ticks, each taken only while the window can take it. Whether it was
// taken is the answer every front end and the recorder go by.
#include "form/form1.h"

#include <array>

namespace vorbix {

Form1::Form1(FrontEnd& front_end) : front_end_(front_end) { front_end_.attach(this); }

Form1::~Form1() { front_end_.attach(nullptr); }

void Form1::start() { Show(); }

bool Form1::key_down(int code)
{
    if (!controls) return false;
    Form_KeyDown(code, 0);
    return true;
}

bool Form1::click(std::string_view button)
{
    if (!controls) return false;
    // A click can arrive after the game has hidden the button; a hidden button takes none.
    if (button == ui().Pause.name && ui().Pause.visible) {
        Pause_Click();
        return true;
    }
    if (button == ui().Command1.name && ui().Command1.visible) {
        Command1_Click();
        return true;
    }
    return false;
}

bool Form1::tick(TimerId timer)
{
    if (!controls) return false;
    struct Handler {
        Timer FormControls::*timer;
        void (Form1::*on_tick)();
    };
    static constexpr std::array<Handler, timer_count> handlers{{{&FormControls::Timer1, &Form1::Timer1_Timer},
                                                                {&FormControls::Timer2, &Form1::Timer2_Timer},
                                                                {&FormControls::Timer3, &Form1::Timer3_Timer}}};
    const Handler& handler = handlers[static_cast<std::size_t>(timer)];
    // A tick that was on its way when the game stopped its timer is none.
    if (!(ui().*handler.timer).live()) return false;
    (this->*handler.on_tick)();
    return true;
}

std::optional<ShownButton> Form1::shown_button() const
{
    if (!controls) return std::nullopt;
    const FormControls& ui = *controls;
    // The window-system controls are listed bottom to top: the last shown button is on top.
    for (auto name = ui.widget_order.rbegin(); name != ui.widget_order.rend(); ++name) {
        if (*name == ui.Pause.name && ui.Pause.visible) return ShownButton{ui.Pause.name, false};
        // "Game Over" builds the window afresh, and loading it asks the question again.
        if (*name == ui.Command1.name && ui.Command1.visible) return ShownButton{ui.Command1.name, true};
    }
    return std::nullopt;
}

std::optional<WindowView> Form1::window() const
{
    if (!controls) return std::nullopt;
    return controls->view();
}

}  // namespace vorbix
