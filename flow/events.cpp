// The window's events as front ends deliver them: program start, keys, clicks on the named
// buttons and timer ticks, each taken only while the window can take it.
#include "form/form1.h"

namespace vorbix {

Form1::Form1(FrontEnd& front_end) : front_end_(front_end) { front_end_.attach(this); }

Form1::~Form1() { front_end_.attach(nullptr); }

void Form1::start() { Show(); }

void Form1::key_down(int code)
{
    if (controls) Form_KeyDown(code, 0);
}

void Form1::click(std::string_view button)
{
    if (!controls) return;
    // A click can arrive after the game has hidden the button; a hidden button takes none.
    if (button == ui().Pause.name && ui().Pause.visible) {
        Pause_Click();
    } else if (button == ui().Command1.name && ui().Command1.visible) {
        Command1_Click();
    }
}

void Form1::tick(TimerId timer)
{
    if (!controls) return;
    switch (timer) {
    case TimerId::timer1:
        if (ui().Timer1.live()) Timer1_Timer();
        break;
    case TimerId::timer2:
        if (ui().Timer2.live()) Timer2_Timer();
        break;
    case TimerId::timer3:
        if (ui().Timer3.live()) Timer3_Timer();
        break;
    }
}

std::optional<WindowView> Form1::window() const
{
    if (!controls) return std::nullopt;
    return controls->view();
}

}  // namespace vorbix
