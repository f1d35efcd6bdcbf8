// The Qt backend with real Qt objects: the question box, the timers, showing and hiding the
// game window, and quitting at any moment.
#include "platform/qt/game_window.h"
#include "platform/qt/qt_backend.h"
#include "window/form1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace vorbix::qt {
namespace {

// Runs the event loop until done() holds or ten seconds have passed; whether it held.
bool wait_until(const std::function<bool()>& done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 10000) QApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

// Does something to the question box as soon as it is open.
void when_asked(std::function<void(QMessageBox&)> action)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        action(*box);
    });
    poll->start(5);
}

void send_key(QWidget& widget, int qt_key)
{
    QKeyEvent press(QEvent::KeyPress, qt_key, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
    QKeyEvent release(QEvent::KeyRelease, qt_key, Qt::NoModifier);
    QApplication::sendEvent(&widget, &release);
}

class QtBackendTest : public ::testing::Test {
protected:
    QtBackendTest() { backend.attach(form); }

    QtBackend backend;
    Form1 form{backend};
};

TEST_F(QtBackendTest, TheQuestionBoxAsksHardMode)
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
    backend.ask("Hard Mode?", "Difficulty");
    EXPECT_EQ(text, "Hard Mode?");
    EXPECT_EQ(title, "Difficulty");
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_EQ(buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_TRUE(yes_is_default);
}

TEST_F(QtBackendTest, ReturnAnswersYesEscapeAndClosingAnswerNo)
{
    when_asked([](QMessageBox& box) { send_key(box, Qt::Key_Return); });
    EXPECT_EQ(backend.ask("Hard Mode?", "Difficulty"), answer_yes);
    when_asked([](QMessageBox& box) { send_key(box, Qt::Key_Escape); });
    EXPECT_EQ(backend.ask("Hard Mode?", "Difficulty"), answer_no);
    when_asked([](QMessageBox& box) { box.close(); });
    EXPECT_EQ(backend.ask("Hard Mode?", "Difficulty"), answer_no);
    when_asked([](QMessageBox& box) { box.button(QMessageBox::No)->click(); });
    EXPECT_EQ(backend.ask("Hard Mode?", "Difficulty"), answer_no);
    EXPECT_FALSE(backend.quitting());
}

TEST_F(QtBackendTest, AStartedGameShowsItsWindowAndItsTimersTick)
{
    backend.queue_answer(answer_no);
    form.Show();
    GameWindow& window = backend.window();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), "Vorbix");
    EXPECT_FALSE(backend.timer_running(TimerId::timer1)) << "an interval of 0 stops the timer";
    EXPECT_TRUE(backend.timer_running(TimerId::timer2));
    EXPECT_EQ(backend.timer_interval(TimerId::timer2), 2);
    EXPECT_EQ(backend.timer_interval(TimerId::timer3), 200);

    const float closed_at = form.controls->covertop.place.top;
    EXPECT_TRUE(wait_until([&] { return form.controls->covertop.place.top < closed_at; })) << "a curtain tick";
    EXPECT_TRUE(wait_until([&] { return form.controls->Timer1.interval() == 50; })) << "the intro ends in play";
    EXPECT_TRUE(backend.timer_running(TimerId::timer1));

    form.Unload();
    EXPECT_FALSE(window.isVisible());
    for (const TimerId id : {TimerId::timer1, TimerId::timer2, TimerId::timer3}) EXPECT_FALSE(backend.timer_running(id));
}

TEST_F(QtBackendTest, TimersRunOnlyWhileEnabledWithAnInterval)
{
    Timer timer1(TimerId::timer1, 0, true);
    Timer timer2(TimerId::timer2, 5, false);
    Timer timer3(TimerId::timer3, 10000, true);
    for (Timer* timer : {&timer1, &timer2, &timer3}) timer->attach(&backend);
    backend.window_created(timer1, timer2, timer3);
    EXPECT_FALSE(backend.timer_running(TimerId::timer1));
    EXPECT_FALSE(backend.timer_running(TimerId::timer2));
    EXPECT_TRUE(backend.timer_running(TimerId::timer3));

    timer2.set_enabled(true);
    EXPECT_TRUE(backend.timer_running(TimerId::timer2));
    timer2.set_interval(0);
    EXPECT_FALSE(backend.timer_running(TimerId::timer2));
    timer1.set_enabled(false);
    timer1.set_interval(50);
    EXPECT_FALSE(backend.timer_running(TimerId::timer1)) << "disabled";
    timer1.set_enabled(true);
    EXPECT_TRUE(backend.timer_running(TimerId::timer1));
    EXPECT_EQ(backend.timer_interval(TimerId::timer1), 50);
    timer1.set_interval(0);

    // Enabling an enabled timer keeps its count; setting the interval starts it afresh.
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 300) QApplication::processEvents(QEventLoop::AllEvents, 20);
    const int counted_down = backend.timer_remaining(TimerId::timer3);
    timer3.set_enabled(true);
    EXPECT_LE(backend.timer_remaining(TimerId::timer3), counted_down);
    timer3.set_interval(10000);
    EXPECT_GT(backend.timer_remaining(TimerId::timer3), counted_down);
    backend.window_unloaded();
}

TEST_F(QtBackendTest, QuittingDuringTheQuestionAnswersNoAndShowsNothing)
{
    when_asked([this](QMessageBox&) { backend.request_quit(); });
    form.Show();
    EXPECT_TRUE(backend.quitting());
    EXPECT_EQ(form.state.difficulty, answer_no);
    EXPECT_FALSE(backend.window().isVisible()) << "the window stays hidden once the program is ending";
    for (const TimerId id : {TimerId::timer1, TimerId::timer2, TimerId::timer3}) EXPECT_FALSE(backend.timer_running(id));
    EXPECT_EQ(backend.run(), 0) << "no event loop is started";
}

TEST_F(QtBackendTest, ClosingTheGameWindowEndsTheProgram)
{
    backend.queue_answer(answer_yes);
    form.Show();
    ASSERT_TRUE(backend.window().isVisible());
    QTimer::singleShot(300, [this] { backend.window().close(); });
    EXPECT_EQ(backend.run(), 0);
    EXPECT_TRUE(backend.quitting());
    EXPECT_FALSE(backend.window().isVisible());
}

TEST_F(QtBackendTest, AnEventLoopEndedFromOutsideDuringTheQuestionCountsAsQuitting)
{
    when_asked([](QMessageBox&) { QCoreApplication::exit(0); });
    EXPECT_EQ(backend.ask("Hard Mode?", "Difficulty"), answer_no);
    EXPECT_TRUE(backend.quitting());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the box is gone";
}

}  // namespace
}  // namespace vorbix::qt
