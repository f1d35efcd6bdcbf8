// Watching a recorded game: lines run when they fall due, the window follows.
#include "programs/watch.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace vorbix::app {
namespace {

constexpr int key_p = 80;
// An "advance" line is played in slices of this many milliseconds.
constexpr std::int64_t frame = 10;

}  // namespace

std::optional<std::vector<std::string>> script_to_watch(const std::string& path, std::string& problem)
{
    std::ifstream file(path);
    if (!file) {
        problem = "cannot read " + path;
        return std::nullopt;
    }
    std::stringstream text;
    text << file.rdbuf();
    // The whole script is run once without a window first, so that a faulty line is found
    // before anything is shown.
    if (const auto faulty = Replay().run(text)) {
        problem = *faulty;
        return std::nullopt;
    }
    text.clear();
    text.seekg(0);
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    return lines;
}

Playback::Playback(std::vector<std::string> lines) : lines_(std::move(lines)), game_window_(this)
{
    wake_.setSingleShot(true);
    wake_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&wake_, &QTimer::timeout, [this] { step(); });
    game_window_.on_close([] { QCoreApplication::quit(); });
}

void Playback::begin()
{
    clock_.start();
    step();
}

std::int64_t Playback::played() const { return (paused_at_ ? *paused_at_ : clock_.elapsed()) - paused_for_; }

void Playback::key_down(int code)
{
    if (code == key_p) toggle_pause();
}

void Playback::toggle_pause()
{
    if (paused_at_) {
        paused_for_ += clock_.elapsed() - *paused_at_;
        paused_at_.reset();
        step();
    } else {
        paused_at_ = clock_.elapsed();
        wake_.stop();
    }
}

void Playback::show_window()
{
    game_window_.refresh();
    if (game_window_.isVisible()) return;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect free = screen->availableGeometry();
        game_window_.move(free.center() - QPoint(game_window_.width() / 2, game_window_.height() / 2));
    }
    game_window_.show();
}

void Playback::step()
{
    if (paused_at_) return;
    const std::int64_t now = played();
    while (next_ < lines_.size()) {
        if (advancing_ > 0) {
            // Virtual time keeps up with the playback's own, a slice at a time.
            const std::int64_t slice = std::min(advancing_, now - due_);
            if (slice <= 0) break;
            replay_.front_end().advance(slice);
            advancing_ -= slice;
            due_ += slice;
            if (advancing_ > 0) break;
            ++next_;
            continue;
        }
        const std::string& line = lines_[next_];
        if (const auto moment = moment_of(line)) {
            if (!first_moment_) first_moment_ = *moment;
            due_ = std::max(due_, *moment - *first_moment_);
            ++next_;
            continue;
        }
        if (now < due_) break;
        const Pace pace = pace_of(line);
        if (pace.advance > 0) {
            advancing_ = pace.advance;
            continue;
        }
        replay_.run_line(line);
        ++next_;
        // In a script with no recorded moments, a tick comes one interval of its timer after
        // the line before it.
        if (!first_moment_ && next_ < lines_.size() && replay_.started()) {
            if (const auto tick = pace_of(lines_[next_]).tick) {
                due_ = now + replay_.view().timers[static_cast<std::size_t>(*tick)]->interval();
            }
        }
    }
    if (replay_.started()) show_window();
    if (next_ >= lines_.size()) {
        std::fputs("vorbix: the recording has been played to its end; close the window to quit\n", stderr);
        return;
    }
    const std::int64_t wait = advancing_ > 0 ? frame : std::max<std::int64_t>(due_ - played(), 0);
    wake_.start(static_cast<int>(std::min<std::int64_t>(wait, 86'400'000)));
}

}  // namespace vorbix::app
