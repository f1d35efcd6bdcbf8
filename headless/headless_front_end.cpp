// The headless front end's virtual clock and queued answers.
#include "headless/headless_front_end.h"

#include <limits>

namespace vorbix {
namespace {
int index_of(TimerId id) { return static_cast<int>(id); }
}  // namespace

int HeadlessFrontEnd::ask(const std::string& /*text*/, const std::string& /*title*/)
{
    ++asked_;
    // With nothing queued the question is answered as closing the box would answer it, so
    // that the window loads whole; whoever runs the clock is told and stops.
    if (answers_.empty()) {
        unanswered_ = true;
        return answer_no;
    }
    const int answer = answers_.front();
    answers_.pop_front();
    return answer;
}

void HeadlessFrontEnd::window_created(const WindowView& window)
{
    for (const Timer* timer : window.timers) {
        timers_[index_of(timer->id())] = timer;
        restart_count(*timer);
    }
}

void HeadlessFrontEnd::window_unloaded()
{
    timers_ = {};
    due_ = {};
}

void HeadlessFrontEnd::restart_count(const Timer& timer)
{
    auto& due = due_[index_of(timer.id())];
    if (timer.live()) {
        due = now_ + timer.interval();
    } else {
        due.reset();
    }
}

std::optional<int> HeadlessFrontEnd::next_due_timer(std::int64_t until) const
{
    std::optional<int> next;
    for (int i = 0; i < timer_count; ++i) {
        if (due_[i] && *due_[i] <= until && (!next || *due_[i] < *due_[*next])) next = i;
    }
    return next;
}

std::optional<std::int64_t> HeadlessFrontEnd::next_due() const
{
    const auto next = next_due_timer(std::numeric_limits<std::int64_t>::max());
    if (!next) return std::nullopt;
    return *due_[*next] - now_;
}

bool HeadlessFrontEnd::deliver(TimerId id)
{
    if (game_ == nullptr) return false;
    if (observer_ != nullptr) observer_->before_tick(id);
    const bool taken = game_->tick(id);
    if (observer_ != nullptr) observer_->after_tick(id, taken);
    return taken;
}

void HeadlessFrontEnd::advance(std::int64_t milliseconds)
{
    const std::int64_t end = now_ + milliseconds;
    while (const auto next = next_due_timer(end)) {
        const int i = *next;
        now_ = *due_[i];
        // The next tick is counted before the handler runs, so that whatever the handler
        // does to this timer decides its future.
        due_[i] = now_ + timers_[i]->interval();
        deliver(static_cast<TimerId>(i));
    }
    now_ = end;
}

void HeadlessFrontEnd::tick(TimerId id, long count)
{
    // A skipped tick changes nothing, so every tick after it would be skipped too.
    for (long n = 0; n < count; ++n) {
        if (!deliver(id)) return;
    }
}

}  // namespace vorbix
