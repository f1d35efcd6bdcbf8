// What the game needs of the window system besides the controls themselves: the question
// box, the random-number source, the time of day, the timer service and showing the window.
// The Qt backend and the headless backend each implement it.
#pragma once

#include "platform/timer.h"

#include <string>

namespace vorbix {

inline constexpr int answer_yes = 6;
inline constexpr int answer_no = 7;

class Backend : public TimerService {
public:
    // A modal Yes/No question with no icon and Yes as the default; 6 for Yes, 7 for No.
    virtual int ask(const std::string& text, const std::string& title) = 0;

    virtual int seconds_since_midnight() = 0;
    virtual void seed_random(int seed) = 0;
    // The next value of the random-number source, uniform in [0, 1).
    virtual float next_random() = 0;

    // The window has been created afresh from its design: its timers start as designed.
    virtual void window_created(const Timer& timer1, const Timer& timer2, const Timer& timer3) = 0;
    // The load event has run: the window is shown, centred on the screen.
    virtual void window_shown() = 0;
    // The window and every control are about to be destroyed.
    virtual void window_unloaded() = 0;
};

}  // namespace vorbix
