// The game controller on the desktop: SDL's game controller API read on a timer.
#include "qt/controller.h"

#include "qt/trace.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace vorbix::qt {
namespace {

std::int64_t now_ms()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

float axis_value(Sint16 value) { return std::max(-1.0f, static_cast<float>(value) / 32767.0f); }

// The question box's buttons from left to right, as the player sees them.
std::vector<QAbstractButton*> answers_in_order(QMessageBox& box)
{
    std::vector<QAbstractButton*> answers;
    for (QAbstractButton* button : box.buttons()) answers.push_back(button);
    std::ranges::sort(answers, [](const QAbstractButton* a, const QAbstractButton* b) {
        return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x();
    });
    return answers;
}

}  // namespace

Controller::Controller()
{
    connect(&clock_, &QTimer::timeout, this, [this] { read(); });
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this] { schedule(); });
    // SDL starts once the event loop runs, so that the first question is not kept waiting.
    QTimer::singleShot(0, this, [this] { read(); });
}

Controller::~Controller()
{
    stop();
    if (!sdl_) return;
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    // The last part of SDL in use lets SDL free what it keeps, its hints among them.
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
}

int Controller::frame_ms()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double rate = screen != nullptr && screen->refreshRate() > 1.0 ? screen->refreshRate() : 60.0;
    return static_cast<int>(std::ceil(1000.0 / rate));
}

bool Controller::start_sdl()
{
    // The game, not SDL, answers the window manager's and the terminal's requests to end.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(stderr, "vorbix: no game controllers: %s\n", SDL_GetError());
        return false;
    }
    return true;
}

void Controller::stop()
{
    stopped_ = true;
    clock_.stop();
    close();
}

void Controller::question_opened(QMessageBox& box)
{
    question_ = &box;
    map_.question_opened();
    schedule();
}

void Controller::question_closed()
{
    question_ = nullptr;
    map_.question_closed();
    schedule();
}

// One look at the controller: every event since the last look is taken in order, so that a
// press and its release between two looks still count once.
void Controller::read()
{
    if (stopped_) return;
    if (!sdl_ && !(sdl_ = start_sdl())) return;
    trace("pad-look");
    SDL_PumpEvents();
    std::vector<PadAction> actions;
    SDL_Event events[16];
    int count = 0;
    while ((count = SDL_PeepEvents(events, 16, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT)) > 0) {
        for (int i = 0; i < count; ++i) take(events[i], actions);
    }
    // A held move repeats with no event.
    if (pad_ != nullptr && game_ != nullptr) {
        const std::vector<PadAction> more = map_.read(reading_, now_ms(), *game_);
        actions.insert(actions.end(), more.begin(), more.end());
    }
    schedule();
    // The controller plays the window the player is at, as the keyboard does: with another
    // program's window in front, its presses are still followed, so that nothing held then
    // counts as new later, but do nothing.
    if (!active()) return;
    // A click may ask the question, whose own event loop runs until it is answered, with the
    // controller too. Qt fires no timer while its own timeout is being handled: the clock is
    // set afresh, as a timer of its own, before such a click.
    for (const PadAction& action : actions) {
        if (action.kind == PadAction::Kind::click) clock_.start();
        act(action);
    }
}

void Controller::take(const SDL_Event& event, std::vector<PadAction>& actions)
{
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
        if (pad_ == nullptr) open(event.cdevice.which);
        return;
    case SDL_CONTROLLERDEVICEREMOVED:
        if (pad_ != nullptr && event.cdevice.which == pad_id_) close();
        return;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        if (pad_ == nullptr || event.cbutton.which != pad_id_) return;
        {
            const bool down = event.type == SDL_CONTROLLERBUTTONDOWN;
            switch (event.cbutton.button) {
            case SDL_CONTROLLER_BUTTON_DPAD_LEFT: reading_.pad_left = down; break;
            case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: reading_.pad_right = down; break;
            case SDL_CONTROLLER_BUTTON_DPAD_UP: reading_.pad_up = down; break;
            case SDL_CONTROLLER_BUTTON_DPAD_DOWN: reading_.pad_down = down; break;
            case SDL_CONTROLLER_BUTTON_A: reading_.bottom = down; break;
            case SDL_CONTROLLER_BUTTON_B: reading_.right = down; break;
            case SDL_CONTROLLER_BUTTON_START: reading_.start = down; break;
            default: return;
            }
        }
        break;
    case SDL_CONTROLLERAXISMOTION:
        if (pad_ == nullptr || event.caxis.which != pad_id_) return;
        if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) {
            reading_.stick_x = axis_value(event.caxis.value);
        } else if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) {
            reading_.stick_y = axis_value(event.caxis.value);
        } else {
            return;
        }
        break;
    default: return;
    }
    if (game_ == nullptr) return;
    trace("pad-event");
    const std::vector<PadAction> more = map_.read(reading_, now_ms(), *game_);
    actions.insert(actions.end(), more.begin(), more.end());
}

void Controller::open(int device)
{
    pad_ = SDL_GameControllerOpen(device);
    if (pad_ == nullptr) return;
    pad_id_ = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad_));
    trace("pad-connected");
}

void Controller::close()
{
    if (pad_ == nullptr) return;
    SDL_GameControllerClose(pad_);
    pad_ = nullptr;
    pad_id_ = -1;
    reading_ = {};
    map_.forget();
    trace("pad-gone");
}

bool Controller::active() { return QGuiApplication::applicationState() == Qt::ApplicationActive; }

void Controller::schedule()
{
    if (stopped_ || !sdl_) return;
    const bool playing = pad_ != nullptr && game_ != nullptr && active() && map_.in_play(*game_);
    const int wait = pad_ == nullptr ? look_ms : playing ? frame_ms() : still_ms;
    // The clock repeats: it is set again only when the pace changes.
    if (clock_.isActive() && clock_.interval() == wait) return;
    // Only play needs its looks on time; the others may share a wake-up with another timer.
    clock_.setTimerType(playing ? Qt::PreciseTimer : Qt::CoarseTimer);
    clock_.start(wait);
}

void Controller::act(const PadAction& action)
{
    if (action.kind != PadAction::Kind::key && action.kind != PadAction::Kind::click) {
        answer(action);
        return;
    }
    if (game_ == nullptr) return;
    const bool taken = action.kind == PadAction::Kind::key ? game_->key_down(action.code) : game_->click(action.button);
    if (!taken) return;
    trace(action.kind == PadAction::Kind::key ? "pad-key" : "pad-click");
    if (taken_) taken_();
}

// The D-pad moves the focus between the answers as Left and Right do between the buttons;
// the bottom button chooses the focused answer.
void Controller::answer(const PadAction& action)
{
    if (!question_) return;
    const std::vector<QAbstractButton*> answers = answers_in_order(*question_);
    if (answers.empty()) return;
    QAbstractButton* default_answer = question_->defaultButton();
    auto focused = std::ranges::find(answers, question_->focusWidget());
    if (action.kind == PadAction::Kind::choose_answer) {
        QAbstractButton* chosen = focused != answers.end() ? *focused : default_answer;
        if (chosen != nullptr) chosen->click();
        return;
    }
    if (focused == answers.end()) focused = std::ranges::find(answers, default_answer);
    if (focused == answers.end()) focused = answers.begin();
    if (action.kind == PadAction::Kind::previous_answer && focused != answers.begin()) --focused;
    if (action.kind == PadAction::Kind::next_answer && focused + 1 != answers.end()) ++focused;
    (*focused)->setFocus(Qt::TabFocusReason);
}

}  // namespace vorbix::qt
