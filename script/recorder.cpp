// Recording a game: events passed through and written down as script lines, each event in
// one write to the file, so that a killed program leaves whole lines behind.
#include "script/recorder.h"

#include "script/replay.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace vorbix {
namespace {

std::string timer_number(TimerId timer) { return std::to_string(static_cast<int>(timer) + 1); }

bool live(const std::optional<WindowView>& window, TimerId timer)
{
    if (!window) return false;
    for (const Timer* candidate : window->timers) {
        if (candidate->id() == timer) return candidate->live();
    }
    return false;
}

bool visible_button(const std::optional<WindowView>& window, std::string_view name)
{
    if (!window) return false;
    for (const PushButton* button : window->buttons) {
        if (button->name == name) return button->visible;
    }
    return false;
}

std::string header()
{
    char when[64] = "";
    const std::time_t now = std::time(nullptr);
    std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", std::localtime(&now));
    return std::string("# A game of Vorbix, recorded ") + when +
           ". Replay it with vorbix-replay, or watch it with vorbix --watch.\n";
}

}  // namespace

Recorder::Recorder(FrontEnd& front_end, std::string path) : front_end_(front_end), path_(std::move(path))
{
    file_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (file_ < 0) {
        failure_ = "cannot record to " + path_ + ": " + std::strerror(errno);
        return;
    }
    // The first line goes out at once, so that a full disk shows before the game starts.
    write(header());
}

Recorder::~Recorder()
{
    if (file_ >= 0) ::close(file_);
}

std::int64_t Recorder::moment() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - began_).count();
}

void Recorder::write(const std::string& text)
{
    if (file_ < 0 || !failure_.empty()) return;
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t written = ::write(file_, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            failure_ = "cannot write " + path_ + ": " + std::strerror(errno);
            // Once the game runs it plays on; the player learns once that the recording has
            // stopped. Before, the program says so instead of starting.
            if (game_ != nullptr) std::fprintf(stderr, "vorbix: the recording stopped: %s\n", failure_.c_str());
            return;
        }
        done += static_cast<std::size_t>(written);
    }
}

template <typename Event>
void Recorder::record(const std::string& line, bool taken, Event&& event)
{
    ++depth_;
    event();
    --depth_;
    if (!taken || depth_ > 0) return;
    std::string text;
    const std::int64_t now = moment();
    if (now != last_moment_) text = moment_comment(now) + "\n";
    last_moment_ = now;
    text += queued_ + line + "\n";
    queued_.clear();
    write(text);
}

void Recorder::attach(GamePort* game)
{
    if (game == nullptr && game_ != nullptr) {
        // How the game stood when the recording ended, as its labels showed it.
        std::string labels;
        if (const auto window = game_->window()) {
            for (const Label* label : window->labels) labels += (labels.empty() ? "" : ", ") + label->text;
        }
        write(moment_comment(moment()) + " the recording ends: " + labels + "\n");
    }
    game_ = game;
    front_end_.attach(game != nullptr ? this : nullptr);
}

int Recorder::ask(const std::string& text, const std::string& title)
{
    const int answer = front_end_.ask(text, title);
    queued_ += answer == answer_yes ? "answer yes\n" : "answer no\n";
    return answer;
}

int Recorder::seconds_since_midnight()
{
    const int seconds = front_end_.seconds_since_midnight();
    queued_ += "clock " + std::to_string(seconds) + "\n";
    return seconds;
}

void Recorder::window_created(const WindowView& window) { front_end_.window_created(window); }

void Recorder::start()
{
    record("start", true, [this] { game_->start(); });
}

void Recorder::key_down(int code)
{
    record("key " + std::to_string(code), game_->window().has_value(), [&] { game_->key_down(code); });
}

void Recorder::click(std::string_view button)
{
    record("click " + std::string(button), visible_button(game_->window(), button), [&] { game_->click(button); });
}

void Recorder::tick(TimerId timer)
{
    record("tick " + timer_number(timer), live(game_->window(), timer), [&] { game_->tick(timer); });
}

std::optional<WindowView> Recorder::window() const { return game_->window(); }

}  // namespace vorbix
