// The Qt front end: question box, timers, time of day and the game window's life.
#include "qt/qt_front_end.h"

#include "qt/accessible_window.h"
#include "qt/controller.h"
#include "qt/stage.h"
#include "qt/trace.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTime>
#include <QTimer>

namespace vorbix::qt {
namespace {
int index_of(TimerId id) { return static_cast<int>(id); }

const char* tick_event(TimerId id)
{
    static const char* const events[timer_count] = {"tick1", "tick2", "tick3"};
    return events[index_of(id)];
}
}  // namespace

QtFrontEnd::QtFrontEnd() : window_(std::make_unique<Stage>()), controller_(std::make_unique<Controller>())
{
    install_accessible_window();
    controller_->on_taken([this] { window_->refresh(); });
    // Only closing the game window ends the program: the question box, closed while the game
    // window is hidden for a restart, answers No instead.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    window_->on_close([this] { request_quit(); });
    for (int i = 0; i < timer_count; ++i) {
        clocks_[i] = new QTimer(window_.get());
        clocks_[i]->setObjectName(QStringLiteral("Timer%1").arg(i + 1));
        clocks_[i]->setTimerType(Qt::PreciseTimer);
        QObject::connect(clocks_[i], &QTimer::timeout, window_.get(), [this, i] { tick(static_cast<TimerId>(i)); });
    }
}

QtFrontEnd::~QtFrontEnd() = default;

void QtFrontEnd::attach(GamePort* game)
{
    game_ = game;
    controller_->attach(game);
    if (game == nullptr) {
        stop_timers();
        window_->hide();
    }
    window_->attach(game);
}

int QtFrontEnd::run()
{
    // The player may have ended the program while the first question was open, before the
    // event loop ran.
    if (quitting_) return 0;
    running_ = true;
    const int status = QApplication::exec();
    running_ = false;
    return status;
}

void QtFrontEnd::request_quit()
{
    if (quitting_) return;
    quitting_ = true;
    stop_timers();
    controller_->stop();
    if (open_question_) open_question_->reject();
    if (running_) QCoreApplication::quit();
}

int QtFrontEnd::ask(const std::string& text, const std::string& title)
{
    if (quitting_) return answer_no;
    QMessageBox box;
    box.setWindowTitle(QString::fromStdString(title));
    box.setText(QString::fromStdString(text));
    box.setIcon(QMessageBox::NoIcon);
    QPushButton* yes = box.addButton(QMessageBox::Yes);
    QPushButton* no = box.addButton(QMessageBox::No);
    box.setDefaultButton(yes);
    // Escape and closing the box both give No.
    box.setEscapeButton(no);

    open_question_ = &box;
    trace_first_paint(box, "question-mapped");
    controller_->question_opened(box);
    box.exec();
    trace("answered");
    controller_->question_closed();
    open_question_ = nullptr;
    // The box still stands when its event loop was ended from outside: the program is quitting.
    if (box.isVisible()) {
        quitting_ = true;
        stop_timers();
        box.hide();
        return answer_no;
    }
    return box.clickedButton() == yes ? answer_yes : answer_no;
}

int QtFrontEnd::seconds_since_midnight() { return QTime::currentTime().msecsSinceStartOfDay() / 1000; }

void QtFrontEnd::window_created(const WindowView& window)
{
    for (const Timer* timer : window.timers) restart_count(*timer);
    window_->forget_painted();
}

void QtFrontEnd::window_shown()
{
    if (quitting_) return;
    window_->refresh();
    window_->present();
    trace("window-shown");
}

void QtFrontEnd::window_unloaded()
{
    stop_timers();
    window_->hide();
    window_->forget_painted();
}

void QtFrontEnd::restart_count(const Timer& timer)
{
    QTimer& clock = *clocks_[index_of(timer.id())];
    // An interval of 0 stops the timer; Qt's zero-interval timer would fire without pause.
    if (timer.live() && !quitting_) {
        clock.start(timer.interval());
    } else {
        clock.stop();
    }
}

void QtFrontEnd::stop_timers()
{
    for (auto& clock : clocks_) clock->stop();
}

void QtFrontEnd::tick(TimerId id)
{
    if (quitting_ || game_ == nullptr) return;
    const long long arrived = trace_moment();
    // A timeout already queued when the game stopped the timer is no tick: the game says so.
    if (!game_->tick(id)) return;
    trace_at(arrived, tick_event(id));
    window_->refresh();
}

}  // namespace vorbix::qt
