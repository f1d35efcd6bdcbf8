// The game controller on the desktop, read with SDL's game controller API (no SDL video: SDL
// only reads the controller). SDL sees a controller, and a controller's state, only when it
// is asked, so this asks on a timer: while none is connected, once a second whether one has
// come; while one is connected, once a display frame in play, and more slowly while nothing
// moves (the question, paused, game over). What the controller does goes through the one
// mapping (platform/controller_map.h) to the game's port, as keys and clicks, or to the open
// question box. Without SDL's controller support, or without a controller, nothing changes;
// nor while another program's window is the active one.
#pragma once

#include "platform/controller_map.h"
#include "platform/port.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <SDL_gamecontroller.h>

#include <functional>

class QMessageBox;
union SDL_Event;

namespace vorbix::qt {

class Controller final : public QObject {
public:
    // Reading starts once the event loop runs.
    Controller();
    ~Controller() override;
    Controller(const Controller&) = delete;
    Controller& operator=(const Controller&) = delete;

    // The port the controller's keys and clicks go to; nullptr while there is no game.
    void attach(GamePort* game) { game_ = game; }
    // Called after the game took a key or a click of the controller's.
    void on_taken(std::function<void()> handler) { taken_ = std::move(handler); }

    // The question box is open, or has closed however it was answered.
    void question_opened(QMessageBox& box);
    void question_closed();

    // No more reading: the program is ending.
    void stop();

    // The time between two readings while one is connected, in play and while nothing moves.
    static int frame_ms();
    static constexpr int still_ms = 100;
    static constexpr int look_ms = 1000;

private:
    bool start_sdl();
    void read();
    void take(const SDL_Event& event, std::vector<PadAction>& actions);
    void open(int device);
    void close();
    void act(const PadAction& action);
    void answer(const PadAction& action);
    void schedule();
    static bool active();

    QTimer clock_;
    GamePort* game_ = nullptr;
    std::function<void()> taken_;
    QPointer<QMessageBox> question_;
    ControllerMap map_;
    PadReading reading_;
    SDL_GameController* pad_ = nullptr;
    int pad_id_ = -1;
    bool sdl_ = false;
    bool stopped_ = false;
};

}  // namespace vorbix::qt
