// Watching a recorded game: the playback runs when it falls due, the window follows.
#include "qt/watch.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>

namespace vorbix::qt {

Watch::Watch(std::vector<script::Command> commands) : playback_(std::move(commands)), game_window_(this)
{
    wake_.setSingleShot(true);
    wake_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&wake_, &QTimer::timeout, [this] { step(); });
    game_window_.on_close([] { QCoreApplication::quit(); });
}

void Watch::begin()
{
    clock_.start();
    step();
}

bool Watch::key_down(int code)
{
    if (!playback_.key(code, clock_.elapsed())) return false;
    step();
    return true;
}

void Watch::show_window()
{
    game_window_.refresh();
    if (!game_window_.isVisible()) game_window_.present();
}

void Watch::step()
{
    wake_.stop();
    playback_.play(clock_.elapsed());
    if (playback_.replay().started()) show_window();
    if (playback_.ended()) {
        std::fputs("vorbix: the recording has been played to its end; close the window to quit\n", stderr);
        return;
    }
    if (const auto due = playback_.next_due()) {
        const std::int64_t wait = std::clamp<std::int64_t>(*due - clock_.elapsed(), 0, 86'400'000);
        wake_.start(static_cast<int>(wait));
    }
}

}  // namespace vorbix::qt
