// Recording a game: events passed through and written down as script lines, each event with
// what stands before it in one write, so that a recording that stops keeps whole events.
#include "script/recorder.h"

#include "script/writer.h"

#include <chrono>
#include <ctime>

namespace vorbix {
namespace {

Recorder::Clock steady_clock()
{
    const auto began = std::chrono::steady_clock::now();
    return [began] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - began).count();
    };
}

std::string line(const script::Command& command) { return script::line_of(command) + "\n"; }

}  // namespace

std::string recording_header(std::string_view where)
{
    char when[64] = "";
    const std::time_t now = std::time(nullptr);
    std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", std::localtime(&now));
    return "A game of Vorbix, recorded " + std::string(when) + std::string(where) +
           ". Replay it with vorbix-replay, or watch it with vorbix --watch.";
}

Recorder::Recorder(FrontEnd& front_end, RecordingSink& sink, std::string_view first_line, Clock clock)
    : front_end_(front_end), sink_(sink), clock_(clock ? std::move(clock) : steady_clock())
{
    write(script::comment_line(first_line) + "\n");
}

void Recorder::write(const std::string& text)
{
    if (!failure_.empty()) return;
    if (auto problem = sink_.write(text)) {
        failure_ = std::move(*problem);
        if (on_stop_) on_stop_(failure_);
    }
}

template <typename Event>
bool Recorder::record(const script::Command& command, Event&& event)
{
    ++depth_;
    const bool taken = event();
    --depth_;
    if (!taken || depth_ > 0) return taken;
    std::string text;
    const std::int64_t now = clock_();
    if (now != last_moment_) text = line(script::Moment{now});
    last_moment_ = now;
    text += queued_ + line(command);
    queued_.clear();
    write(text);
    return true;
}

void Recorder::attach(GamePort* game)
{
    if (game == nullptr && game_ != nullptr) {
        // How the game stood when the recording ended, as its labels showed it.
        std::string labels;
        if (const auto window = game_->window()) {
            for (const Label* label : window->labels) labels += (labels.empty() ? "" : ", ") + label->text;
        }
        write(script::comment_line("@" + std::to_string(clock_()) + " the recording ends: " + labels) + "\n");
    }
    game_ = game;
    front_end_.attach(game != nullptr ? this : nullptr);
}

int Recorder::ask(const std::string& text, const std::string& title)
{
    const int answer = front_end_.ask(text, title);
    queued_ += line(script::Answer{answer});
    return answer;
}

int Recorder::seconds_since_midnight()
{
    const int seconds = front_end_.seconds_since_midnight();
    queued_ += line(script::Clock{seconds});
    return seconds;
}

void Recorder::start()
{
    record(script::Start{}, [this] {
        game_->start();
        return true;
    });
}

bool Recorder::key_down(int code)
{
    return record(script::Key{code}, [&] { return game_->key_down(code); });
}

bool Recorder::click(std::string_view button)
{
    return record(script::Click{std::string(button)}, [&] { return game_->click(button); });
}

bool Recorder::tick(TimerId timer)
{
    return record(script::Tick{timer}, [&] { return game_->tick(timer); });
}

}  // namespace vorbix
