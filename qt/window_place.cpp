// The window's place, kept between runs in the player's settings.
#include "qt/window_place.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QSettings>

namespace vorbix::qt {
namespace {

QSettings settings() { return QSettings(QStringLiteral("vorbix"), QStringLiteral("vorbix")); }

}  // namespace

double first_zoom(QSize own, QSize available)
{
    const auto fits = [&](double zoom) {
        return zoom * own.height() <= available.height() * 2.0 / 3.0 && zoom * own.width() <= available.width();
    };
    double zoom = 1.0;
    while (fits(zoom + 0.5)) zoom += 0.5;
    return zoom;
}

std::optional<WindowPlace> saved_place()
{
    QSettings kept = settings();
    const QSize size = kept.value(QStringLiteral("window/size")).toSize();
    if (!size.isValid() || size.isEmpty()) return std::nullopt;
    WindowPlace place{size, std::nullopt, kept.value(QStringLiteral("window/maximised")).toBool(),
                      kept.value(QStringLiteral("window/fullScreen")).toBool()};
    const QVariant position = kept.value(QStringLiteral("window/position"));
    // A window whose middle is on no screen (one unplugged since, say) could not be reached.
    if (position.isValid() && QGuiApplication::screenAt(QRect(position.toPoint(), size).center()) != nullptr) {
        place.position = position.toPoint();
    }
    return place;
}

void save_place(const WindowPlace& place)
{
    QSettings kept = settings();
    kept.setValue(QStringLiteral("window/size"), place.size);
    if (place.position) kept.setValue(QStringLiteral("window/position"), *place.position);
    kept.setValue(QStringLiteral("window/maximised"), place.maximised);
    kept.setValue(QStringLiteral("window/fullScreen"), place.full_screen);
}

}  // namespace vorbix::qt
