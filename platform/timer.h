// An interval timer as the game sees it: an interval in milliseconds and an enabled flag.
// It ticks only while enabled with an interval above 0; the timer service that delivers the
// ticks is told of every change, since setting the interval restarts the count.
#pragma once

namespace vorbix {

enum class TimerId { timer1 = 0, timer2 = 1, timer3 = 2 };
inline constexpr int timer_count = 3;

class Timer;

class TimerService {
public:
    virtual ~TimerService() = default;
    // The timer starts counting its interval afresh from now, or stops when it is not live.
    virtual void restart_count(const Timer& timer) = 0;
};

class Timer {
public:
    Timer(TimerId id, int interval, bool enabled) : id_(id), interval_(interval), enabled_(enabled) {}

    void attach(TimerService* service) { service_ = service; }

    void set_interval(int milliseconds)
    {
        interval_ = milliseconds;
        // Setting the interval restarts the count, even to the same value.
        if (service_ != nullptr) service_->restart_count(*this);
    }

    void set_enabled(bool enabled)
    {
        const bool was_enabled = enabled_;
        enabled_ = enabled;
        // Enabling a timer that was already enabled keeps its count going.
        if (service_ != nullptr && (!was_enabled || !enabled)) service_->restart_count(*this);
    }

    TimerId id() const { return id_; }
    int interval() const { return interval_; }
    bool enabled() const { return enabled_; }
    bool live() const { return enabled_ && interval_ > 0; }

private:
    TimerId id_;
    int interval_;
    bool enabled_;
    TimerService* service_ = nullptr;
};

}  // namespace vorbix
