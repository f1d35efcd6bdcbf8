// The player's window around the game's: fitting, full screen, and where it opens.
#include "qt/stage.h"

#include "qt/trace.h"
#include "qt/window_place.h"

#include <QCloseEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMoveEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>

namespace vorbix::qt {

Stage::Stage(GamePort* game) : game_window_(game)
{
    setObjectName(QStringLiteral("Form1"));
    game_window_.setObjectName(QStringLiteral("client"));
    game_window_.setParent(this);
    // The window takes the keys, so that the ones of its own never reach the game.
    setFocusPolicy(Qt::StrongFocus);
    game_window_.setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Stage::refresh()
{
    game_window_.refresh();
    const QSize own = game_window_.own_size();
    if (own.isEmpty() || own == own_size_) return;
    own_size_ = own;
    // Smaller than its own size the game's texts would no longer be read.
    setMinimumSize(own_size_);
    fit();
}

void Stage::fit()
{
    if (own_size_.isEmpty()) return;
    const double across = static_cast<double>(width()) / own_size_.width();
    const double down = static_cast<double>(height()) / own_size_.height();
    game_window_.set_zoom(std::max(1.0, std::min(across, down)));
    const QSize shown = game_window_.size();
    game_window_.move((width() - shown.width()) / 2, (height() - shown.height()) / 2);
}

void Stage::present()
{
    if (!presented_) {
        presented_ = true;
        const std::optional<WindowPlace> place = saved_place();
        const QScreen* screen = screen_shown_on();
        if (place) {
            resize(place->size.expandedTo(minimumSize()));
        } else if (screen != nullptr) {
            resize(own_size_ * first_zoom(own_size_, screen->availableGeometry().size()));
        }
        if (place && place->position) {
            setGeometry(QRect(*place->position, size()));
        } else {
            centre_on_screen();
        }
        normal_ = geometry();
        maximised_ = place && place->maximised;
        if (maximised_) setWindowState(windowState() | Qt::WindowMaximized);
        if (place && place->full_screen) setWindowState(windowState() | Qt::WindowFullScreen);
    } else if (!isMaximized() && !isFullScreen()) {
        centre_on_screen();
    }
    show();
    raise();
    activateWindow();
}

const QScreen* Stage::screen_shown_on() const
{
    return screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
}

void Stage::centre_on_screen()
{
    const QScreen* screen = screen_shown_on();
    if (screen == nullptr) return;
    const QRect free = screen->availableGeometry();
    move(free.center() - QPoint(width() / 2, height() / 2));
}

bool Stage::event(QEvent* event)
{
    const bool update_request = event->type() == QEvent::UpdateRequest;
    const bool handled = QWidget::event(event);
    // Qt has painted every part of the window that had changed, children included, and handed
    // the picture to the window system.
    if (update_request) trace("painted");
    return handled;
}

void Stage::resizeEvent(QResizeEvent* /*event*/)
{
    fit();
    keep_normal_place();
}

void Stage::moveEvent(QMoveEvent* /*event*/) { keep_normal_place(); }

// Qt's own normal geometry will not do: going into full screen or out of it, an X11 window
// manager may pass through a moment of neither state with the window still at its maximised
// or full-screen size, its frame not always drawn yet, and Qt then takes that for the normal
// place. A place as wide as the screen is never kept as one to go back to.
void Stage::keep_normal_place()
{
    if (windowState() != Qt::WindowNoState) return;
    const QScreen* screen = screen_shown_on();
    if (screen != nullptr && frameGeometry().width() >= screen->availableGeometry().width()) return;
    normal_ = geometry();
}

void Stage::paintEvent(QPaintEvent* event)
{
    // The margin is the curtain's black, as the page's is. (Not the palette's: the buttons
    // would take their colours from it.)
    QPainter(this).fillRect(event->rect(), Qt::black);
}

void Stage::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F11 || event->matches(QKeySequence::FullScreen)) {
        if (event->isAutoRepeat()) return;
        if (isFullScreen()) {
            leave_full_screen();
        } else {
            setWindowState(windowState() | Qt::WindowFullScreen);
        }
        return;
    }
    if (event->key() == Qt::Key_Escape && isFullScreen()) {
        leave_full_screen();
        return;
    }
    trace("key", event->key());
    game_window_.press(*event);
}

// Back to maximised if it was: said outright, as an X11 window manager may no longer call a
// full-screen window maximised.
void Stage::leave_full_screen()
{
    setWindowState((windowState() & ~(Qt::WindowFullScreen | Qt::WindowMaximized)) |
                   (maximised_ ? Qt::WindowMaximized : Qt::WindowNoState));
}

void Stage::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange) {
        // Maximised or not is what the player made the window outside full screen: going into
        // full screen and out of it, an X11 window manager passes through states that say
        // nothing of it (maximised, then neither, then full screen).
        const Qt::WindowStates before = static_cast<QWindowStateChangeEvent*>(event)->oldState();
        if (!before.testFlag(Qt::WindowFullScreen) && !isFullScreen()) maximised_ = isMaximized();
    }
    QWidget::changeEvent(event);
}

void Stage::closeEvent(QCloseEvent* event)
{
    // Maximised or full screen, the window is kept at the place it goes back to.
    save_place(WindowPlace{normal_.size(), normal_.topLeft(), maximised_, isFullScreen()});
    event->accept();
    if (close_handler_) close_handler_();
}

}  // namespace vorbix::qt
