// The one narrow port between the game and every front end. A front end drives the game
// through GamePort: program start, keys, clicks and timer ticks go in, a read-only view of
// the window comes out. The game asks of its front end only what a front end alone can give
// through FrontEnd: the answer to a question, the time of day, and the ticks of its timers.
#pragma once

#include "platform/timer.h"
#include "platform/window_view.h"

#include <optional>
#include <string>
#include <string_view>

namespace vorbix {

// The answers of the Yes/No question box.
inline constexpr int answer_yes = 6;
inline constexpr int answer_no = 7;

// The game's 16-bit virtual-key codes, the numbers its keyboard procedure and every script
// know the keys by. Letters and digits are their capitals' character codes.
namespace key {
inline constexpr int none = 0;  // a code that no key of the game acts on
inline constexpr int left = 37;
inline constexpr int up = 38;
inline constexpr int right = 39;
inline constexpr int down = 40;
inline constexpr int a = 'A';
inline constexpr int p = 'P';
inline constexpr int s = 'S';

// The code of a key that types a letter (in either case) or a digit; none for any other.
constexpr int of_character(char32_t typed)
{
    if (typed >= U'a' && typed <= U'z') typed = typed - U'a' + U'A';
    const bool letter = typed >= U'A' && typed <= U'Z';
    const bool digit = typed >= U'0' && typed <= U'9';
    return letter || digit ? static_cast<int>(typed) : none;
}
}  // namespace key

// A push button the player can click now.
struct ShownButton {
    std::string_view name;
    // Its click restarts the game, which asks the start-up question again before it goes on.
    bool asks_question = false;
};

// What the game offers every front end. Whether the game takes an event is its own answer,
// given here and nowhere else: the recorder writes down what was taken, and a front end or a
// controller asks before it acts on what an event will do.
class GamePort {
public:
    // Program start: the window is created from its design, loaded and shown. It asks the
    // start-up question.
    virtual void start() = 0;
    // A key-down with the game's 16-bit virtual-key code: taken while the window is loaded.
    virtual bool key_down(int code) = 0;
    // A click on the push button of that name: taken only while the button is shown.
    virtual bool click(std::string_view button) = 0;
    // A tick of one of the window's timers: taken only while the timer is live.
    virtual bool tick(TimerId timer) = 0;
    // The shown push button that stands above any other shown one; nothing while none is
    // shown.
    virtual std::optional<ShownButton> shown_button() const = 0;
    // What the window shows; nothing while it is unloaded.
    virtual std::optional<WindowView> window() const = 0;

protected:
    ~GamePort() = default;
};

// What the game needs of a front end.
class FrontEnd : public TimerService {
public:
    // The game object hands itself over when it is made, and nullptr when it goes.
    virtual void attach(GamePort* game) = 0;

    // A modal Yes/No question with no icon and Yes as the default: answer_yes or answer_no.
    virtual int ask(const std::string& text, const std::string& title) = 0;
    virtual int seconds_since_midnight() = 0;

    // The window has been created afresh from its design: its timers start as designed.
    virtual void window_created(const WindowView& window) = 0;
    // The load event has run: the window is shown, centred on the screen.
    virtual void window_shown() = 0;
    // The window and every control are about to be destroyed.
    virtual void window_unloaded() = 0;
};

}  // namespace vorbix
