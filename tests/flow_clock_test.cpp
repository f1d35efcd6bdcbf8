// The virtual clock of the headless front end: which timers are live, when their count
// restarts, the order of ticks due at the same moment, and ticks delivered without time.
#include "headless/headless_front_end.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace vorbix {
namespace {

struct Tick {
    int timer;
    std::int64_t at;
    friend bool operator==(const Tick&, const Tick&) = default;
};

std::ostream& operator<<(std::ostream& out, const Tick& tick) { return out << "Timer" << tick.timer << "@" << tick.at; }

// Three timers on the headless clock, as a freshly created window has them; the fixture is
// the game that the clock delivers their ticks to, recording each and running an optional
// hook inside the handler.
class Clock : public ::testing::Test, public GamePort {
protected:
    void create(int interval1, bool enabled1, int interval2, bool enabled2, int interval3, bool enabled3)
    {
        timers.emplace_back(TimerId::timer1, interval1, enabled1);
        timers.emplace_back(TimerId::timer2, interval2, enabled2);
        timers.emplace_back(TimerId::timer3, interval3, enabled3);
        for (Timer& timer : timers) timer.attach(&clock);
        clock.attach(this);
        listed = {&timers[0], &timers[1], &timers[2]};
        WindowView window;
        window.timers = listed;
        clock.window_created(window);
    }

    Timer& timer(int number) { return timers[number - 1]; }

    void start() override {}
    bool key_down(int) override { return false; }
    bool click(std::string_view) override { return false; }
    // Taken while the timer is live, as the game takes it.
    bool tick(TimerId id) override
    {
        if (!timers[static_cast<std::size_t>(id)].live()) return false;
        ticks.push_back({static_cast<int>(id) + 1, clock.now()});
        if (hook) hook(id);
        return true;
    }
    std::optional<ShownButton> shown_button() const override { return std::nullopt; }
    std::optional<WindowView> window() const override { return std::nullopt; }

    HeadlessFrontEnd clock;
    std::vector<Timer> timers;  // reserved below, so the clock's pointers stay valid
    std::array<const Timer*, timer_count> listed{};
    std::vector<Tick> ticks;
    std::function<void(TimerId)> hook;

    void SetUp() override { timers.reserve(3); }
};

TEST_F(Clock, OnlyATimerEnabledWithAnIntervalAboveZeroTicks)
{
    create(0, true, 10, false, 10, true);
    clock.advance(25);
    EXPECT_EQ(ticks, (std::vector<Tick>{{3, 10}, {3, 20}}));
    EXPECT_EQ(clock.now(), 25);
}

TEST_F(Clock, TheFirstTickComesOneIntervalAfterCreation)
{
    create(0, true, 5, true, 200, true);
    clock.advance(4);
    EXPECT_TRUE(ticks.empty());
    clock.advance(1);
    EXPECT_EQ(ticks, (std::vector<Tick>{{2, 5}}));
}

TEST_F(Clock, SettingTheIntervalRestartsTheCountEvenToTheSameValue)
{
    create(0, true, 10, true, 0, true);
    clock.advance(7);
    timer(2).set_interval(10);
    clock.advance(12);  // to 19: the old count would have ticked at 10
    EXPECT_EQ(ticks, (std::vector<Tick>{{2, 17}}));
}

TEST_F(Clock, EnablingADisabledTimerRestartsItsCount)
{
    create(0, true, 10, true, 0, true);
    clock.advance(6);
    timer(2).set_enabled(false);
    clock.advance(10);  // to 16: silent while disabled
    EXPECT_TRUE(ticks.empty());
    timer(2).set_enabled(true);
    clock.advance(10);
    EXPECT_EQ(ticks, (std::vector<Tick>{{2, 26}}));
}

TEST_F(Clock, EnablingAnEnabledTimerKeepsItsCount)
{
    create(0, true, 10, true, 0, true);
    clock.advance(6);
    timer(2).set_enabled(true);
    clock.advance(4);
    EXPECT_EQ(ticks, (std::vector<Tick>{{2, 10}}));
}

TEST_F(Clock, AnIntervalOfZeroStopsATimerWithoutTouchingItsFlag)
{
    create(0, true, 10, true, 0, true);
    timer(2).set_interval(0);
    clock.advance(100);
    EXPECT_TRUE(ticks.empty());
    EXPECT_TRUE(timer(2).enabled());
    // Enabling a timer whose interval is 0 produces no ticks.
    timer(1).set_enabled(false);
    timer(1).set_enabled(true);
    clock.advance(100);
    EXPECT_TRUE(ticks.empty());
}

TEST_F(Clock, TicksDueTogetherGoTimer1ThenTimer2ThenTimer3)
{
    create(6, true, 3, true, 2, true);
    clock.advance(6);
    EXPECT_EQ(ticks, (std::vector<Tick>{{3, 2}, {2, 3}, {3, 4}, {1, 6}, {2, 6}, {3, 6}}));
}

TEST_F(Clock, AHandlersChangesApplyToTheTicksAfterIt)
{
    create(0, true, 2, true, 0, true);
    // The third intro tick hands over to a 50 ms timer, as the end of the intro does.
    hook = [this](TimerId id) {
        if (id == TimerId::timer2 && ticks.size() == 3) {
            timer(2).set_interval(0);
            timer(1).set_interval(50);
        }
    };
    clock.advance(200);
    EXPECT_EQ(ticks, (std::vector<Tick>{{2, 2}, {2, 4}, {2, 6}, {1, 56}, {1, 106}, {1, 156}}));
}

TEST_F(Clock, AHandlerThatStopsAnotherTimerDueAtTheSameMomentSilencesIt)
{
    create(10, true, 10, true, 0, true);
    hook = [this](TimerId id) {
        if (id == TimerId::timer1) timer(2).set_interval(0);
    };
    clock.advance(30);
    EXPECT_EQ(ticks, (std::vector<Tick>{{1, 10}, {1, 20}, {1, 30}}));
}

TEST_F(Clock, TickDeliversWithoutTimePassingAndSkipsASilentTimer)
{
    create(0, true, 5, false, 200, true);
    clock.advance(3);
    clock.tick(TimerId::timer3, 4);
    clock.tick(TimerId::timer1, 2);  // interval 0
    clock.tick(TimerId::timer2, 2);  // disabled
    EXPECT_EQ(ticks, (std::vector<Tick>{{3, 3}, {3, 3}, {3, 3}, {3, 3}}));
    EXPECT_EQ(clock.now(), 3);
}

TEST_F(Clock, TickStopsDeliveringOnceAHandlerSilencesTheTimer)
{
    create(0, true, 0, true, 200, true);
    hook = [this](TimerId) {
        if (ticks.size() == 2) timer(3).set_interval(0);
    };
    clock.tick(TimerId::timer3, 10);
    EXPECT_EQ(ticks.size(), 2u);
}

TEST_F(Clock, TimeStandsStillForNoTickWhenNoTimerIsLive)
{
    create(0, true, 5, false, 0, true);
    clock.advance(86'400'000);
    EXPECT_TRUE(ticks.empty());
    EXPECT_EQ(clock.now(), 86'400'000);
}

}  // namespace
}  // namespace vorbix
