// Watching a recorded game in the real window: a timer wakes the playback when its next line
// falls due, and the window follows the game. The player's keys do nothing but P, which
// pauses the playback; closing the window ends it.
#pragma once

#include "qt/stage.h"
#include "script/playback.h"

#include <QElapsedTimer>
#include <QTimer>

namespace vorbix::qt {

class Watch final : private GamePort {
public:
    explicit Watch(std::vector<script::Command> commands);

    // Plays the script from the start; the window shows as soon as the game starts.
    void begin();

private:
    void step();
    void show_window();

    // GamePort, for the window: only P reaches the playback, nothing reaches the game.
    void start() override {}
    bool key_down(int code) override;
    bool click(std::string_view) override { return false; }
    bool tick(TimerId) override { return false; }
    std::optional<ShownButton> shown_button() const override { return std::nullopt; }
    std::optional<WindowView> window() const override { return playback_.replay().form().window(); }

    Playback playback_;
    Stage game_window_;
    QTimer wake_;
    QElapsedTimer clock_;
};

}  // namespace vorbix::qt
