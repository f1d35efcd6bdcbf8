// The Qt front end: real time, real input and a real window for the game.
// It implements the question box (a QMessageBox, which a game controller answers too), the
// three interval timers (precise QTimers named after the game's timers), the time of day, and
// showing and hiding the game window, drawn in a Stage that the player may resize; a game
// controller plays beside the keyboard. It leaves out the window's frame, which the window
// manager draws, and the shift state of key events, which the game does not use.
#pragma once

#include "platform/port.h"

#include <QPointer>

#include <array>
#include <memory>

class QMessageBox;
class QTimer;

namespace vorbix::qt {

class Controller;
class Stage;

class QtFrontEnd final : public FrontEnd {
public:
    // Needs the application object to exist.
    QtFrontEnd();
    ~QtFrontEnd() override;
    QtFrontEnd(const QtFrontEnd&) = delete;
    QtFrontEnd& operator=(const QtFrontEnd&) = delete;

    // Runs the event loop until the player closes the window; the program's exit status.
    int run();
    // Ends the program: an open question answers No, the timers stop, the window stays hidden.
    void request_quit();

    // FrontEnd
    void attach(GamePort* game) override;
    int ask(const std::string& text, const std::string& title) override;
    int seconds_since_midnight() override;
    void window_created(const WindowView& window) override;
    void window_shown() override;
    void window_unloaded() override;
    void restart_count(const Timer& timer) override;

private:
    void stop_timers();
    void tick(TimerId id);

    GamePort* game_ = nullptr;
    std::unique_ptr<Stage> window_;
    std::unique_ptr<Controller> controller_;
    // Children of the window.
    std::array<QTimer*, timer_count> clocks_{};
    QPointer<QMessageBox> open_question_;
    bool running_ = false;
    bool quitting_ = false;
};

}  // namespace vorbix::qt
