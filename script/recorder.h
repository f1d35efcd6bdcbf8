// Recording a game as a script. The recorder stands between a front end and the game, on
// both sides of the port: it passes every event and every question through unchanged and
// writes down, in the order the game saw them, each answer, each time of day that seeded the
// random numbers, and each start, tick, key and click that the game took, every event marked
// with its moment. Replayed, the script is the same game.
#pragma once

#include "platform/port.h"
#include "script/command.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vorbix {

// Where a recording goes: a file on the desktop, the page's memory in the browser.
class RecordingSink {
public:
    // Writes the text whole; otherwise writes none of it and says why.
    virtual std::optional<std::string> write(std::string_view text) = 0;

protected:
    ~RecordingSink() = default;
};

// A recording kept in memory, as the page keeps it.
class RecordingText final : public RecordingSink {
public:
    std::optional<std::string> write(std::string_view text) override
    {
        text_ += text;
        return std::nullopt;
    }
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

// The first line of a recording: when it was made, where, and what it is for.
std::string recording_header(std::string_view where);

class Recorder final : public FrontEnd, public GamePort {
public:
    // Milliseconds since the recording began.
    using Clock = std::function<std::int64_t()>;

    // Writes the first line at once, so that a sink that takes nothing shows before the game
    // starts. Without a clock, moments are read from the system's steady clock.
    Recorder(FrontEnd& front_end, RecordingSink& sink, std::string_view first_line, Clock clock = {});
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // Why the recording stopped, or "" while all is well. Once it has stopped the game plays
    // on unrecorded; on_stop hears of it once, when it happens.
    const std::string& failure() const { return failure_; }
    void on_stop(std::function<void(const std::string& failure)> handler) { on_stop_ = std::move(handler); }

    // FrontEnd: the game's questions and timers, passed on to the real front end.
    void attach(GamePort* game) override;
    int ask(const std::string& text, const std::string& title) override;
    int seconds_since_midnight() override;
    void window_created(const WindowView& window) override { front_end_.window_created(window); }
    void window_shown() override { front_end_.window_shown(); }
    void window_unloaded() override { front_end_.window_unloaded(); }
    void restart_count(const Timer& timer) override { front_end_.restart_count(timer); }

    // GamePort: the front end's events, passed on to the game.
    void start() override;
    bool key_down(int code) override;
    bool click(std::string_view button) override;
    bool tick(TimerId timer) override;
    std::optional<ShownButton> shown_button() const override { return game_->shown_button(); }
    std::optional<WindowView> window() const override { return game_->window(); }

private:
    // Runs an event of the game and records it when the game took it. An answer or a time of
    // day asked for during the event stands before it, where a replay takes it from its queue.
    // Gives whether the game took it.
    template <typename Event>
    bool record(const script::Command& command, Event&& event);
    void write(const std::string& text);

    FrontEnd& front_end_;
    RecordingSink& sink_;
    Clock clock_;
    GamePort* game_ = nullptr;
    std::string failure_;
    std::function<void(const std::string&)> on_stop_;
    std::string queued_;
    // Events in progress: a question box runs the event loop inside an event, and a tick that
    // arrives then changes nothing the game shows (the curtain is not yet closed); it is passed
    // on but not written.
    int depth_ = 0;
    std::int64_t last_moment_ = -1;
};

}  // namespace vorbix
