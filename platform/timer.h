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
    virtual void interval_set(const Timer& timer) = 0;
    virtual void enabled_set(const Timer& timer, bool was_enabled) = 0;
};

class Timer {
public:
    Timer(TimerId id, int interval, bool enabled) : id_(id), interval_(interval), enabled_(enabled) {}

    void attach(TimerService* service) { service_ = service; }

    void set_interval(int milliseconds)
    {
        interval_ = milliseconds;
        if (service_ != nullptr) service_->interval_set(*this);
    }

    void set_enabled(bool enabled)
    {
        const bool was_enabled = enabled_;
        enabled_ = enabled;
        if (service_ != nullptr) service_->enabled_set(*this, was_enabled);
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
