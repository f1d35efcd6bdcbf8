// Driving the real Qt front end in tests: its window and timers, found by their names the way
// a player's tools would see them, keys sent to a widget, and the question box answered.
#pragma once

#include "platform/controls.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMessageBox>
#include <QRect>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace vorbix::testing {

// Twips to the logical pixels of a window, to find a control's pixels in a picture.
class TwipScale {
public:
    explicit TwipScale(double logical_dpi) : twips_per_pixel_(vorbix::twips_per_pixel(logical_dpi)) {}

    double pixels(float twips) const { return static_cast<double>(twips) / twips_per_pixel_; }
    QRectF pixels(const Rect& place) const
    {
        return QRectF(pixels(place.left), pixels(place.top), pixels(place.width), pixels(place.height));
    }
    QRect whole_pixels(const Rect& place) const
    {
        return QRect(qRound(pixels(place.left)), qRound(pixels(place.top)), qRound(pixels(place.width)),
                     qRound(pixels(place.height)));
    }

private:
    double twips_per_pixel_;
};

// Runs the event loop until done() holds or ten seconds have passed; whether it held.
inline bool wait_until(const std::function<bool()>& done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 10000) QApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

inline void send_key(QWidget& widget, int qt_key)
{
    QKeyEvent press(QEvent::KeyPress, qt_key, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
    QKeyEvent release(QEvent::KeyRelease, qt_key, Qt::NoModifier);
    QApplication::sendEvent(&widget, &release);
}

// Does something to the question box as soon as it is open.
inline void when_asked(const std::function<void(QMessageBox&)>& action)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        action(*box);
    });
    poll->start(2);
}

// Answers the question box with a key (Return: Yes, Escape: No) as soon as it is open.
inline void answer_when_asked(int qt_key)
{
    when_asked([qt_key](QMessageBox& box) { send_key(box, qt_key); });
}

// The Qt front end's game window.
inline QWidget& game_window()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("Form1")) return *widget;
    }
    throw std::logic_error("no game window");
}

// A timer of the game window, by the game's name for it ("Timer1" to "Timer3").
inline QTimer& qt_timer(const char* name) { return *game_window().findChild<QTimer*>(QLatin1String(name)); }

}  // namespace vorbix::testing
