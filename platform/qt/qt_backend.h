// The Qt backend: real time, real input and a real window for Form1.
// It implements the question box (a QMessageBox), the three interval timers (precise QTimers),
// the time of day, the random source, and showing and hiding the game window, whose client
// area is a GameWindow. It leaves out the window's frame, which the window manager draws, and
// the shift state of key events, which the game does not use.
#pragma once

#include "platform/backend.h"
#include "platform/random_source.h"

#include <QPointer>

#include <array>
#include <deque>
#include <memory>

class QMessageBox;
class QTimer;

namespace vorbix {
class Form1;
}

namespace vorbix::qt {

class GameWindow;

class QtBackend : public Backend {
public:
    // Needs the application object to exist.
    QtBackend();
    ~QtBackend() override;
    QtBackend(const QtBackend&) = delete;
    QtBackend& operator=(const QtBackend&) = delete;

    // Creates the game window for the game object; call before the game's first Show.
    void attach(Form1& form);
    // Runs the event loop until the player closes the window; the program's exit status.
    int run();
    // Ends the program: an open question answers No, the timers stop, the window stays hidden.
    void request_quit();
    bool quitting() const { return quitting_; }

    GameWindow& window() { return *window_; }
    // For tests: answers given in turn instead of showing the question box.
    void queue_answer(int answer) { queued_answers_.push_back(answer); }
    // Whether a timer's count is running, and with which interval.
    bool timer_running(TimerId id) const;
    int timer_interval(TimerId id) const;
    int timer_remaining(TimerId id) const;

    // Backend
    int ask(const std::string& text, const std::string& title) override;
    int seconds_since_midnight() override;
    void seed_random(int seed) override { random_.seed(seed); }
    float next_random() override { return random_.next(); }
    void window_created(const Timer& timer1, const Timer& timer2, const Timer& timer3) override;
    void window_shown() override;
    void window_unloaded() override;
    void restart_count(const Timer& timer) override;

private:
    void stop_timers();
    void tick(TimerId id);

    Form1* form_ = nullptr;
    std::unique_ptr<GameWindow> window_;
    std::array<std::unique_ptr<QTimer>, timer_count> clocks_;
    std::array<const Timer*, timer_count> timers_{};
    RandomSource random_;
    std::deque<int> queued_answers_;
    QPointer<QMessageBox> open_question_;
    bool running_ = false;
    bool quitting_ = false;
};

}  // namespace vorbix::qt
