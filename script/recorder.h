// Recording a game as a vorbix-replay script. The recorder stands between a front end and
// the game, on both sides of the port: it passes every event and every question through
// unchanged and writes down, in the order the game saw them, each answer, each time of day
// that seeded the random numbers, and each start, tick, key and click that the game took,
// every event marked with its moment. Replayed, the script is the same game.
#pragma once

#include "platform/port.h"

#include <chrono>
#include <cstdint>
#include <string>

namespace vorbix {

class Recorder final : public FrontEnd, public GamePort {
public:
    // Opens the file (made anew) and writes its first line; failure() tells whether that
    // worked, before the game starts.
    Recorder(FrontEnd& front_end, std::string path);
    ~Recorder() override;
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // What went wrong with the file, or "" while all is well.
    const std::string& failure() const { return failure_; }

    // FrontEnd: the game's questions and timers, passed on to the real front end.
    void attach(GamePort* game) override;
    int ask(const std::string& text, const std::string& title) override;
    int seconds_since_midnight() override;
    void window_created(const WindowView& window) override;
    void window_shown() override { front_end_.window_shown(); }
    void window_unloaded() override { front_end_.window_unloaded(); }
    void restart_count(const Timer& timer) override { front_end_.restart_count(timer); }

    // GamePort: the front end's events, passed on to the game.
    void start() override;
    void key_down(int code) override;
    void click(std::string_view button) override;
    void tick(TimerId timer) override;
    std::optional<WindowView> window() const override;

private:
    // Runs an event of the game and records it when the game took it. An answer or a time of
    // day asked for during the event stands before it, where a replay takes it from its queue.
    template <typename Event>
    void record(const std::string& line, bool taken, Event&& event);
    void write(const std::string& text);
    std::int64_t moment() const;

    FrontEnd& front_end_;
    GamePort* game_ = nullptr;
    std::string path_;
    int file_ = -1;
    std::string failure_;
    std::string queued_;
    // Events in progress: a question box runs the event loop inside an event, and a tick that
    // arrives then changes nothing the game shows (the curtain is not yet closed); it is passed
    // on but not written.
    int depth_ = 0;
    std::chrono::steady_clock::time_point began_ = std::chrono::steady_clock::now();
    std::int64_t last_moment_ = -1;
};

}  // namespace vorbix
