// Playing a script at its own pace: commands run when they fall due.
#include "script/playback.h"

#include "platform/port.h"

#include <algorithm>

namespace vorbix {

Playback::Playback(std::vector<script::Command> commands) : commands_(std::move(commands)) {}

void Playback::play(std::int64_t now_watched)
{
    if (paused()) return;
    const std::int64_t now = now_watched - paused_for_;
    while (!ended()) {
        if (advancing_ > 0) {
            // The script's time keeps up with the watcher's, a slice at a time.
            const std::int64_t slice = std::min(advancing_, now - due_);
            if (slice <= 0) break;
            replay_.front_end().advance(slice);
            advancing_ -= slice;
            due_ += slice;
            if (advancing_ > 0) break;
            ++next_;
            continue;
        }
        const script::Command& command = commands_[next_];
        if (const auto* moment = std::get_if<script::Moment>(&command)) {
            if (!first_moment_) first_moment_ = moment->milliseconds;
            due_ = std::max(due_, moment->milliseconds - *first_moment_);
            ++next_;
            continue;
        }
        if (now < due_) break;
        if (const auto* advance = std::get_if<script::Advance>(&command); advance && advance->milliseconds > 0) {
            advancing_ = advance->milliseconds;
            continue;
        }
        replay_.run(command);
        ++next_;
        // In a script with no recorded moments, a tick comes one interval of its timer after
        // the line before it.
        if (!first_moment_ && !ended() && replay_.started()) {
            if (const auto* tick = std::get_if<script::Tick>(&commands_[next_])) {
                due_ = now + replay_.view().timers[static_cast<std::size_t>(tick->timer)]->interval();
            }
        }
    }
}

std::optional<std::int64_t> Playback::next_due() const
{
    if (paused() || ended()) return std::nullopt;
    if (advancing_ == 0) return due_ + paused_for_;
    // During an "advance", the game changes only when one of its ticks falls due.
    const std::int64_t tick = replay_.front_end().next_due().value_or(advancing_);
    return due_ + std::clamp<std::int64_t>(tick, 1, advancing_) + paused_for_;
}

bool Playback::key(int code, std::int64_t now)
{
    if (code != key::p) return false;
    toggle_pause(now);
    return true;
}

void Playback::toggle_pause(std::int64_t now)
{
    if (paused_at_) {
        paused_for_ += now - *paused_at_;
        paused_at_.reset();
    } else {
        paused_at_ = now;
    }
}

bool ScriptToPlay::starts() const
{
    return std::any_of(commands.begin(), commands.end(),
                       [](const script::Command& command) { return std::holds_alternative<script::Start>(command); });
}

std::optional<std::string> ScriptToPlay::unplayable() const
{
    if (starts()) return std::nullopt;
    return stopped.value_or("it has no \"start\" line, so there is no game to watch");
}

ScriptToPlay script_to_play(script::Lines& lines)
{
    // A recording that stopped in the middle of a line ends in a line without its end.
    lines.refuse_cut_line();
    ScriptToPlay script;
    script.stopped =
        Replay().run(lines, [&script](const script::Command& command) { script.commands.push_back(command); });
    return script;
}

}  // namespace vorbix
