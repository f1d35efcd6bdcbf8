// Watching a recorded game in the real window: the script runs through the replay engine at
// the speed it was recorded, its events at their recorded moments (or, in a script without
// them, its ticks at the timers' intervals and its "advance" lines in real time). The
// player's keys do nothing but P, which pauses the playback; closing the window ends it.
#pragma once

#include "qt/game_window.h"
#include "script/replay.h"

#include <QElapsedTimer>
#include <QTimer>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vorbix::app {

class Playback final : private GamePort {
public:
    explicit Playback(std::vector<std::string> lines);

    // Plays the script from the start; the window shows as soon as the game starts.
    void begin();

private:
    // Runs every line that is due, then waits for the next one.
    void step();
    // Milliseconds of playback so far, pauses left out.
    std::int64_t played() const;
    void show_window();
    void toggle_pause();

    // GamePort, for the window: only P reaches the playback, nothing reaches the game.
    void start() override {}
    void key_down(int code) override;
    void click(std::string_view) override {}
    void tick(TimerId) override {}
    std::optional<WindowView> window() const override { return replay_.form().window(); }

    std::vector<std::string> lines_;
    std::size_t next_ = 0;
    Replay replay_;
    qt::GameWindow game_window_;
    QTimer wake_;
    QElapsedTimer clock_;
    std::int64_t paused_for_ = 0;
    std::optional<std::int64_t> paused_at_;
    // When the next line is due, in milliseconds of playback.
    std::int64_t due_ = 0;
    std::optional<std::int64_t> first_moment_;
    // What is left of an "advance" line being played.
    std::int64_t advancing_ = 0;
};

// Reads a script to watch; gives the lines, or the message that says why it cannot be watched
// (a file that cannot be read, or the "line N: ..." of its first faulty line).
std::optional<std::vector<std::string>> script_to_watch(const std::string& path, std::string& problem);

}  // namespace vorbix::app
