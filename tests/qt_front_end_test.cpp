// The Qt front end with real Qt objects: the question box, the timers, showing and hiding the
// game window, quitting at any moment, a game that goes before its front end, and the
// measuring aid's trace of a key and a tick up to the paints that show them.
#include "form/form1.h"
#include "qt/qt_front_end.h"
#include "qt/trace.h"
#include "support/qt_helpers.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryFile>
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace vorbix::qt {
namespace {

using testing::answer_when_asked;
using testing::game_window;
using testing::qt_timer;
using testing::send_key;
using testing::wait_until;
using testing::when_asked;

bool any_timer_running()
{
    return qt_timer("Timer1").isActive() || qt_timer("Timer2").isActive() || qt_timer("Timer3").isActive();
}

// Runs the front end's event loop, ended from outside after two seconds should it start at all;
// its exit status then is 1.
int run_briefly(QtFrontEnd& front_end)
{
    QTimer::singleShot(2000, qApp, [] { QCoreApplication::exit(1); });
    return front_end.run();
}

class QtFrontEndTest : public ::testing::Test {
protected:
    QtFrontEnd front_end;
    Form1 form{front_end};
};

TEST_F(QtFrontEndTest, TheQuestionBoxAsksHardMode)
{
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::Information;
    QMessageBox::StandardButtons buttons;
    bool yes_is_default = false;
    when_asked([&](QMessageBox& box) {
        text = box.text();
        title = box.windowTitle();
        icon = box.icon();
        buttons = box.standardButtons();
        yes_is_default = box.defaultButton() != nullptr && box.defaultButton() == box.button(QMessageBox::Yes);
        send_key(box, Qt::Key_Escape);
    });
    front_end.ask("Hard Mode?", "Difficulty");
    EXPECT_EQ(text, "Hard Mode?");
    EXPECT_EQ(title, "Difficulty");
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_EQ(buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_TRUE(yes_is_default);
}

TEST_F(QtFrontEndTest, ReturnAnswersYesEscapeAndClosingAnswerNo)
{
    answer_when_asked(Qt::Key_Return);
    EXPECT_EQ(front_end.ask("Hard Mode?", "Difficulty"), answer_yes);
    answer_when_asked(Qt::Key_Escape);
    EXPECT_EQ(front_end.ask("Hard Mode?", "Difficulty"), answer_no);
    when_asked([](QMessageBox& box) { box.close(); });
    EXPECT_EQ(front_end.ask("Hard Mode?", "Difficulty"), answer_no);
    when_asked([](QMessageBox& box) { box.button(QMessageBox::No)->click(); });
    EXPECT_EQ(front_end.ask("Hard Mode?", "Difficulty"), answer_no);
}

TEST_F(QtFrontEndTest, AStartedGameShowsItsWindowAndItsTimersTick)
{
    answer_when_asked(Qt::Key_Escape);
    form.start();
    QWidget& window = game_window();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), "Vorbix");
    EXPECT_FALSE(qt_timer("Timer1").isActive()) << "an interval of 0 stops the timer";
    EXPECT_TRUE(qt_timer("Timer2").isActive());
    EXPECT_EQ(qt_timer("Timer2").interval(), 2);
    EXPECT_EQ(qt_timer("Timer3").interval(), 200);

    const float closed_at = form.controls->covertop.place.top;
    EXPECT_TRUE(wait_until([&] { return form.controls->covertop.place.top < closed_at; })) << "a curtain tick";
    EXPECT_TRUE(wait_until([&] { return form.controls->Timer1.interval() == 50; })) << "the intro ends in play";
    EXPECT_TRUE(qt_timer("Timer1").isActive());

    form.Unload();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(any_timer_running());
}

// The trace written to a file of its own while it lives, as with VORBIX_TRACE set.
class TraceFile {
public:
    TraceFile()
    {
        file_.open();
        trace_detail::file = file_.handle();
    }
    ~TraceFile() { trace_detail::file = -1; }
    TraceFile(const TraceFile&) = delete;
    TraceFile& operator=(const TraceFile&) = delete;

    // The events traced so far, without their times.
    std::vector<std::string> events()
    {
        file_.seek(0);
        std::istringstream lines(file_.readAll().toStdString());
        std::vector<std::string> events;
        long long microseconds = 0;
        for (std::string event; lines >> microseconds >> event;) events.push_back(event);
        return events;
    }

private:
    QTemporaryFile file_;
};

// Whether the events after the first `from` (after `after` when given) run `from`, `changed`,
// `painted` with no other tick, key or click between, as bench/latency reads them.
bool shown_by_the_next_paint(const std::vector<std::string>& events, const std::string& from,
                             const std::string& after = {})
{
    auto start = after.empty() ? events.begin() : std::find(events.begin(), events.end(), after);
    auto cause = std::find(start, events.end(), from);
    if (cause == events.end()) return false;
    auto changed = std::find(cause + 1, events.end(), std::string("changed"));
    auto painted = std::find(cause + 1, events.end(), std::string("painted"));
    const auto other_cause = std::find_if(cause + 1, painted, [](const std::string& event) {
        return event.starts_with("tick") || event.starts_with("key") || event == "click";
    });
    return changed < painted && painted != events.end() && other_cause == painted;
}

TEST_F(QtFrontEndTest, TheTraceFollowsAKeyAndEachTickToThePaintThatShowsThem)
{
    TraceFile trace;
    answer_when_asked(Qt::Key_Escape);
    form.start();
    ASSERT_TRUE(wait_until([&] { return form.controls->Timer1.interval() == 50; })) << "in play";

    send_key(game_window(), Qt::Key_P);
    ASSERT_TRUE(wait_until([&] { return shown_by_the_next_paint(trace.events(), "key-80"); }))
        << "P is traced with its code, and the Pause button's paint after it";
    auto* pause = game_window().findChild<QPushButton*>(QStringLiteral("Pause"));
    ASSERT_NE(pause, nullptr);
    pause->click();
    EXPECT_TRUE(wait_until([&] { return shown_by_the_next_paint(trace.events(), "click"); }));
    EXPECT_TRUE(wait_until([&] { return shown_by_the_next_paint(trace.events(), "tick1", "click"); }))
        << "a gravity tick after the game goes on, painted before the next";
    form.Unload();
}

TEST_F(QtFrontEndTest, TimersRunOnlyWhileEnabledWithAnInterval)
{
    Timer timer1(TimerId::timer1, 0, true);
    Timer timer2(TimerId::timer2, 5, false);
    Timer timer3(TimerId::timer3, 10000, true);
    for (Timer* timer : {&timer1, &timer2, &timer3}) timer->attach(&front_end);
    const std::array<const Timer*, timer_count> timers{&timer1, &timer2, &timer3};
    WindowView window;
    window.timers = timers;
    front_end.window_created(window);
    EXPECT_FALSE(qt_timer("Timer1").isActive());
    EXPECT_FALSE(qt_timer("Timer2").isActive());
    EXPECT_TRUE(qt_timer("Timer3").isActive());

    timer2.set_enabled(true);
    EXPECT_TRUE(qt_timer("Timer2").isActive());
    timer2.set_interval(0);
    EXPECT_FALSE(qt_timer("Timer2").isActive());
    timer1.set_enabled(false);
    timer1.set_interval(50);
    EXPECT_FALSE(qt_timer("Timer1").isActive()) << "disabled";
    timer1.set_enabled(true);
    EXPECT_TRUE(qt_timer("Timer1").isActive());
    EXPECT_EQ(qt_timer("Timer1").interval(), 50);
    timer1.set_interval(0);

    // Enabling an enabled timer keeps its count; setting the interval starts it afresh.
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 300) QApplication::processEvents(QEventLoop::AllEvents, 20);
    const int counted_down = qt_timer("Timer3").remainingTime();
    timer3.set_enabled(true);
    EXPECT_LE(qt_timer("Timer3").remainingTime(), counted_down);
    timer3.set_interval(10000);
    EXPECT_GT(qt_timer("Timer3").remainingTime(), counted_down);
    front_end.window_unloaded();
}

TEST_F(QtFrontEndTest, QuittingDuringTheQuestionAnswersNoAndShowsNothing)
{
    when_asked([this](QMessageBox&) { front_end.request_quit(); });
    form.start();
    EXPECT_EQ(form.state.difficulty, answer_no);
    EXPECT_FALSE(game_window().isVisible()) << "the window stays hidden once the program is ending";
    EXPECT_FALSE(any_timer_running());
    EXPECT_EQ(run_briefly(front_end), 0) << "no event loop is started";
}

TEST_F(QtFrontEndTest, ClosingTheGameWindowEndsTheProgram)
{
    answer_when_asked(Qt::Key_Return);
    form.start();
    ASSERT_TRUE(game_window().isVisible());
    QTimer::singleShot(300, [] { game_window().close(); });
    EXPECT_EQ(front_end.run(), 0);
    EXPECT_FALSE(game_window().isVisible());
    EXPECT_FALSE(any_timer_running());
}

TEST_F(QtFrontEndTest, AnEventLoopEndedFromOutsideDuringTheQuestionCountsAsQuitting)
{
    when_asked([](QMessageBox&) { QCoreApplication::exit(0); });
    EXPECT_EQ(front_end.ask("Hard Mode?", "Difficulty"), answer_no);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the box is gone";
    EXPECT_EQ(run_briefly(front_end), 0) << "the program is ending";
}

TEST(QtFrontEnd, AGameThatGoesBeforeItsFrontEndLeavesNothingBehindInTheWindow)
{
    QtFrontEnd front_end;
    {
        Form1 game(front_end);
        answer_when_asked(Qt::Key_Escape);
        game.start();
        ASSERT_TRUE(game_window().isVisible());
    }
    // Painting, keys and timers of the window no longer reach the game.
    QWidget& window = game_window();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(any_timer_running());
    window.repaint();
    send_key(window, Qt::Key_Left);
    QApplication::processEvents();
}

}  // namespace
}  // namespace vorbix::qt
