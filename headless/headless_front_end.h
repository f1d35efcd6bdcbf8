// The headless front end: no window system. Time is a virtual clock that moves only when told
// to, and the answers to the start-up question are queued in advance. It leaves out drawing
// and real input: tests and replays deliver keys and clicks through the game's port.
#pragma once

#include "platform/port.h"

#include <array>
#include <cstdint>
#include <deque>
#include <optional>

namespace vorbix {

class HeadlessFrontEnd : public FrontEnd {
public:
    // Told of every tick the clock delivers, before and after the game handles it, and
    // whether the game took it.
    class TickObserver {
    public:
        virtual void before_tick(TimerId timer) = 0;
        virtual void after_tick(TimerId timer, bool taken) = 0;

    protected:
        ~TickObserver() = default;
    };

    void queue_answer(int answer) { answers_.push_back(answer); }
    void set_clock(int seconds_since_midnight) { clock_ = seconds_since_midnight; }
    void observe_ticks(TickObserver* observer) { observer_ = observer; }

    std::int64_t now() const { return now_; }
    int asked() const { return asked_; }
    // Milliseconds from now until the next tick falls due; nothing while no timer is live.
    std::optional<std::int64_t> next_due() const;
    // Whether a question came while no answer was queued; it was answered No.
    bool went_unanswered() const { return unanswered_; }

    // Lets time pass, delivering every tick that falls due, in order of due time (Timer1
    // first at a tie); each handler's changes apply to the ticks after it.
    void advance(std::int64_t milliseconds);
    // Delivers count ticks of one timer without time passing, each only while it is live.
    void tick(TimerId id, long count = 1);

    // FrontEnd
    void attach(GamePort* game) override { game_ = game; }
    int ask(const std::string& text, const std::string& title) override;
    int seconds_since_midnight() override { return clock_; }
    void window_created(const WindowView& window) override;
    void window_shown() override {}
    void window_unloaded() override;
    void restart_count(const Timer& timer) override;

private:
    std::optional<int> next_due_timer(std::int64_t until) const;
    bool deliver(TimerId id);

    GamePort* game_ = nullptr;
    TickObserver* observer_ = nullptr;
    std::deque<int> answers_;
    bool unanswered_ = false;
    int clock_ = 0;
    int asked_ = 0;
    std::int64_t now_ = 0;
    std::array<const Timer*, timer_count> timers_{};
    std::array<std::optional<std::int64_t>, timer_count> due_{};
};

}  // namespace vorbix
