// The headless backend: no window system. Time is a virtual clock that moves only when told
// to; the answers to the start-up question and the random values can be queued in advance.
// It leaves out drawing and real input: tests and replays call the game's events directly.
#pragma once

#include "platform/backend.h"
#include "platform/random_source.h"

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>

namespace vorbix {

// The start-up question was asked with no answer queued.
struct NoAnswerQueued : std::runtime_error {
    NoAnswerQueued() : std::runtime_error("the question \"Hard Mode?\" was asked with no answer queued") {}
};

class HeadlessBackend : public Backend {
public:
    using TickHandler = std::function<void(TimerId)>;

    // Where the ticks of the window's timers go (the game object's timer_tick).
    void on_tick(TickHandler handler) { tick_handler_ = std::move(handler); }

    void queue_answer(int answer) { answers_.push_back(answer); }
    void queue_random(float value) { random_.queue(value); }
    void set_clock(int seconds_since_midnight) { clock_ = seconds_since_midnight; }

    std::int64_t now() const { return now_; }
    int asked() const { return asked_; }
    bool any_timer_live() const;

    // Lets time pass, delivering every tick that falls due, in order of due time (Timer1
    // first at a tie); each handler's changes apply to the ticks after it.
    void advance(std::int64_t milliseconds);
    // Delivers count ticks of one timer without time passing, each only while it is live.
    void tick(TimerId id, long count = 1);

    // Backend
    int ask(const std::string& text, const std::string& title) override;
    int seconds_since_midnight() override { return clock_; }
    void seed_random(int seed) override { random_.seed(seed); }
    float next_random() override { return random_.next(); }
    void window_created(const Timer& timer1, const Timer& timer2, const Timer& timer3) override;
    void window_shown() override {}
    void window_unloaded() override;
    void restart_count(const Timer& timer) override;

private:
    std::optional<int> next_due_timer(std::int64_t until) const;

    TickHandler tick_handler_;
    std::deque<int> answers_;
    RandomSource random_;
    int clock_ = 0;
    int asked_ = 0;
    std::int64_t now_ = 0;
    std::array<const Timer*, timer_count> timers_{};
    std::array<std::optional<std::int64_t>, timer_count> due_{};
};

}  // namespace vorbix
