// Playing a script at its own pace, as a recording is watched: each event at its recorded
// moment, or, in a script without moments, each tick one interval of its timer after the
// line before it and each "advance" in real time. The game runs on a replay; the time of
// the one who watches is passed in, in milliseconds, and a pause stops the script's time.
#pragma once

#include "script/command.h"
#include "script/lines.h"
#include "script/replay.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vorbix {

class Playback {
public:
    explicit Playback(std::vector<script::Command> commands);

    // Runs every command that is due by now.
    void play(std::int64_t now);
    // When play has something to do next; nothing while paused or once the script has ended.
    std::optional<std::int64_t> next_due() const;

    // A key of the one who watches: P pauses the script, or ends the pause, and the others do
    // nothing. Whether the key was taken.
    bool key(int code, std::int64_t now);
    bool paused() const { return paused_at_.has_value(); }
    bool ended() const { return next_ >= commands_.size(); }

    const Replay& replay() const { return replay_; }

private:
    void toggle_pause(std::int64_t now);

    std::vector<script::Command> commands_;
    std::size_t next_ = 0;
    Replay replay_;
    std::int64_t paused_for_ = 0;
    std::optional<std::int64_t> paused_at_;
    // When the next command is due, in the script's own time.
    std::int64_t due_ = 0;
    std::optional<std::int64_t> first_moment_;
    // What is left of an "advance" being played.
    std::int64_t advancing_ = 0;
};

// A script to play: the commands of its whole lines up to its end, or up to the first line
// that is faulty or cut off, which stopped says: "line N: what is wrong". Each command has
// been run once, without time, so that no fault shows half-way.
struct ScriptToPlay {
    std::vector<script::Command> commands;
    std::optional<std::string> stopped;
    // Whether the game starts: a script without "start" shows nothing.
    bool starts() const;
    // Why the script cannot be watched; nothing when its game starts.
    std::optional<std::string> unplayable() const;
};
ScriptToPlay script_to_play(script::Lines& lines);

}  // namespace vorbix
