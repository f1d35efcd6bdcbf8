// The player's window: the game's window drawn whole, uniformly scaled to the largest size
// the real window holds, centred on a margin of the window's own. The player may resize it,
// maximise it and show it full screen (F11, or the desktop's own way; Escape leaves full
// screen): the game never hears of it. It keeps the window it set itself at start-up, and
// only the drawing scales. Where the window was left, its size and state, is kept in the
// player's settings for the next start.
#pragma once

#include "qt/game_window.h"

#include <functional>

namespace vorbix::qt {

class Stage : public QWidget {
public:
    explicit Stage(GamePort* game = nullptr);

    void attach(GamePort* game) { game_window_.attach(game); }
    void refresh();
    void forget_painted() { game_window_.forget_painted(); }
    // Called instead of closing when the player closes the window.
    void on_close(std::function<void()> handler) { close_handler_ = std::move(handler); }

    // Shows the window: the first time where the player left it (or at a size that suits the
    // screen), afterwards centred on its screen, as the game shows its window after a restart.
    void present();

    GameWindow& game_window() { return game_window_; }

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void fit();
    // The screen the window is on, or the primary one before it is on any.
    const QScreen* screen_shown_on() const;
    void centre_on_screen();
    void leave_full_screen();
    void keep_normal_place();

    GameWindow game_window_;
    QSize own_size_;
    bool presented_ = false;
    // Whether the window is maximised, or goes back to maximised when it leaves full screen:
    // in full screen an X11 window manager no longer calls it maximised.
    bool maximised_ = false;
    // Where the window goes back to when it is neither maximised nor full screen.
    QRect normal_;
    std::function<void()> close_handler_;
};

}  // namespace vorbix::qt
