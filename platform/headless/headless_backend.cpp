// The headless backend's virtual clock and queues.
#include "platform/headless/headless_backend.h"

namespace vorbix {
namespace {
int index_of(TimerId id) { return static_cast<int>(id); }
}  // namespace

int HeadlessBackend::ask(const std::string& /*text*/, const std::string& /*title*/)
{
    if (answers_.empty()) throw NoAnswerQueued{};
    ++asked_;
    const int answer = answers_.front();
    answers_.pop_front();
    return answer;
}

void HeadlessBackend::window_created(const Timer& timer1, const Timer& timer2, const Timer& timer3)
{
    timers_ = {&timer1, &timer2, &timer3};
    for (const Timer* timer : timers_) restart_count(*timer);
}

void HeadlessBackend::window_unloaded()
{
    timers_ = {};
    due_ = {};
}

void HeadlessBackend::restart_count(const Timer& timer)
{
    auto& due = due_[index_of(timer.id())];
    if (timer.live()) {
        due = now_ + timer.interval();
    } else {
        due.reset();
    }
}

bool HeadlessBackend::any_timer_live() const
{
    for (const auto& due : due_) {
        if (due) return true;
    }
    return false;
}

std::optional<int> HeadlessBackend::next_due_timer(std::int64_t until) const
{
    std::optional<int> next;
    for (int i = 0; i < timer_count; ++i) {
        if (due_[i] && *due_[i] <= until && (!next || *due_[i] < *due_[*next])) next = i;
    }
    return next;
}

void HeadlessBackend::advance(std::int64_t milliseconds)
{
    const std::int64_t end = now_ + milliseconds;
    while (const auto next = next_due_timer(end)) {
        const int i = *next;
        now_ = *due_[i];
        // The next tick is counted before the handler runs, so that whatever the handler
        // does to this timer decides its future.
        due_[i] = now_ + timers_[i]->interval();
        if (tick_handler_) tick_handler_(static_cast<TimerId>(i));
    }
    now_ = end;
}

void HeadlessBackend::tick(TimerId id, long count)
{
    for (long n = 0; n < count; ++n) {
        const Timer* timer = timers_[index_of(id)];
        // A skipped tick changes nothing, so every tick after it would be skipped too.
        if (timer == nullptr || !timer->live() || !tick_handler_) return;
        tick_handler_(id);
    }
}

}  // namespace vorbix
