// The page's game: what the page's session (site/session.js) calls. The game runs on the
// page's front end, through a recorder that writes it down as the desktop's --record does, so
// that the page can save it. A script handed over is shown instead: played at its own pace, as
// the desktop's --watch plays a recording, or run at once as vorbix-replay runs it, its game
// then standing still. The question is asked by the page before the event that asks it, and
// its answer handed in with the event, so that the game never waits for the player: every
// call returns at once. A controller's readings come in as the page takes them and go through
// the one controller map, which gives the game what a keyboard and a mouse would, or, while the
// question is open, moves between its answers that the page's dialog makes. Texts and
// numbers handed to the page stay valid until the next call.
#include "form/form1.h"
#include "paint/plan.h"
#include "platform/controller_map.h"
#include "script/dump.h"
#include "script/playback.h"
#include "script/recorder.h"
#include "script/replay.h"
#include "web/key_map.h"
#include "web/news.h"
#include "web/page_view.h"
#include "web/web_front_end.h"

#include <emscripten.h>
#include <fmt/format.h>
#include <fmt/ranges.h>

#include <array>
#include <memory>
#include <sstream>
#include <string>

namespace vorbix::web {
namespace {

// An answer handed in with an event: none, or the player's No or Yes.
constexpr int no_answer = -1;
// What a click gives when it would ask the question and no answer came with it.
constexpr int asks_first = -1;

class Page final : private HeadlessFrontEnd::TickObserver {
public:
    Page() { front_end_.observe_ticks(this); }

    // Program start, which asks the question: the page has asked it already.
    void start(bool yes)
    {
        answer(yes);
        game().start();
    }

    // A key by its KeyboardEvent.key name, to the game or to the recording being watched,
    // where P pauses and goes on; gives whether it was taken.
    bool key(std::string_view name) { return key(virtual_key(name)); }

    // A click on a push button: gives whether the game took it, or asks_first, with nothing
    // done, when the game would ask the question and the page has not handed in its answer.
    int click(std::string_view button, int answer_given)
    {
        if (watched_ || replay_) return 0;
        const auto shown = game().shown_button();
        if (shown && shown->name == button && shown->asks_question) {
            if (answer_given == no_answer) return asks_first;
            answer(answer_given != 0);
        }
        return game().click(button) ? 1 : 0;
    }

    // A controller's reading at a moment of a steady clock, in milliseconds, with whether the
    // page's question is open: the keys and clicks it gives go where the keyboard's and the
    // mouse's go. Gives {"taken": whether any was taken, "asks": the button whose click would
    // ask the question, to be clicked once the page has asked it, or null, "answers": the
    // moves in the question ("previous", "next", "choose")}.
    std::string pad(const PadReading& reading, std::int64_t now, bool asking)
    {
        if (asking && !pad_.question_open()) pad_.question_opened();
        if (!asking && pad_.question_open()) pad_.question_closed();
        bool taken = false;
        std::string asks = "null";
        std::vector<std::string> answers;
        for (const PadAction& action : pad_.read(reading, now, shown_game())) {
            switch (action.kind) {
            case PadAction::Kind::key: taken = key(action.code) || taken; break;
            case PadAction::Kind::click:
                if (const int clicked = click(action.button, no_answer); clicked == asks_first) {
                    asks = json_string(action.button);
                } else {
                    taken = clicked != 0 || taken;
                }
                break;
            case PadAction::Kind::previous_answer: answers.emplace_back(R"("previous")"); break;
            case PadAction::Kind::next_answer: answers.emplace_back(R"("next")"); break;
            case PadAction::Kind::choose_answer: answers.emplace_back(R"("choose")"); break;
            }
        }
        return fmt::format(R"({{"taken":{},"asks":{},"answers":[{}]}})", taken, asks, fmt::join(answers, ","));
    }

    // Lets milliseconds pass on the clock of what is shown: the game's, or the watcher's.
    // Gives the clock as it then stands (see vorbix_advance).
    const std::array<double, 5>& advance(double milliseconds)
    {
        const auto passed = static_cast<std::int64_t>(milliseconds);
        std::optional<std::int64_t> due;
        if (watched_) {
            watch_now_ += passed;
            watched_->play(watch_now_);
            if (const auto next = watched_->next_due()) due = std::max<std::int64_t>(0, *next - watch_now_);
        } else if (!replay_) {
            front_end_.advance(passed);
            due = front_end_.next_due();
        }
        clock_ = {due ? static_cast<double>(*due) : -1.0, watched_ && watched_->ended() ? 1.0 : 0.0,
                  static_cast<double>(ticks_[0]), static_cast<double>(ticks_[1]), static_cast<double>(ticks_[2])};
        return clock_;
    }

    // Shows a script instead of the page's game: run at once, or played from now at its own
    // pace. Gives whether it is shown, why not or where it stops before its end, and what
    // the dumps of a script run at once wrote, each on a line as vorbix-replay prints them.
    std::string show(const std::string& text, bool at_once)
    {
        std::istringstream stream(text);
        if (at_once) {
            watched_.reset();
            dumps_.clear();
            replay_ = std::make_unique<Replay>([this](const std::string& json) { dumps_ += json + '\n'; });
            const auto stopped = replay_->run(stream);
            return result(true, stopped.value_or(""), dumps_);
        }
        script::Lines lines = script::Lines::of(stream, "the recording");
        ScriptToPlay script = script_to_play(lines);
        if (const auto reason = script.unplayable()) return result(false, *reason);
        replay_.reset();
        watched_ = std::make_unique<Playback>(std::move(script.commands));
        watch_now_ = 0;
        return result(true, script.stopped.value_or(""));
    }

    // The numbers of what to paint at a scale: the plan's changes since the last paint, or
    // the whole plan. Nothing while the window is unloaded.
    const std::vector<double>& paint(const paint::Scale& scale, bool whole)
    {
        numbers_.clear();
        if (whole) painted_.reset();
        const auto shown = window();
        if (!shown) return numbers_;
        paint::PaintPlan next = paint::plan_of(*shown, scale);
        const std::vector<paint::Box> areas = paint::changed_areas(painted_ ? &*painted_ : nullptr, next);
        numbers_ = paint_numbers(next, areas, paint::ops_within(next, areas));
        painted_ = std::move(next);
        frame_text_ = frame_if_changed(*shown);
        numbers_[frame_at] =
            frame_text_.empty() ? 0.0 : static_cast<double>(reinterpret_cast<std::uintptr_t>(frame_text_.c_str()));
        return numbers_;
    }
    std::string runs() const { return painted_ ? runs_json(*painted_) : "[]"; }

    std::string dump() const
    {
        if (watched_) return watched_->replay().dump();
        if (replay_) return replay_->dump();
        const WindowView shown = game_.window().value_or(design_.view());
        return dump_json({front_end_.now(), front_end_.asked()}, game_.state, shown);
    }
    const std::string& recording() const { return recording_.text(); }

private:
    // The player's events, which the recorder writes down and passes on.
    GamePort& game() { return recorder_; }
    void answer(bool yes) { front_end_.queue_answer(yes ? answer_yes : answer_no); }

    // A key by its code, to the game or to the recording being watched.
    bool key(int code)
    {
        if (watched_) return watched_->key(code, watch_now_);
        return !replay_ && game().key_down(code);
    }

    const GamePort& shown_game() const
    {
        if (watched_) return watched_->replay().form();
        if (replay_) return replay_->form();
        return game_;
    }
    std::optional<WindowView> window() const { return replay_ && !watched_ ? replay_->view() : shown_game().window(); }

    // The frame of the last paint as JSON, with the labels and the news of the window shown,
    // when it differs from the one handed over last; "" otherwise.
    std::string frame_if_changed(const WindowView& shown)
    {
        const std::optional<ShownButton> button = shown_game().shown_button();
        const std::string news = news_.of(shown, button, design_.view());
        std::string labels = labels_json(shown);
        if (frame_ && *frame_ == painted_->frame && labels == labels_ && news.empty()) return {};
        frame_ = painted_->frame;
        labels_ = std::move(labels);
        return frame_json(*frame_, painted_->scale, button, labels_, news);
    }

    static std::string result(bool shown, const std::string& message, const std::string& dumps = {})
    {
        return fmt::format(R"({{"playable":{},"message":{},"dumps":{}}})", shown, json_string(message),
                           json_string(dumps));
    }

    void before_tick(TimerId) override {}
    void after_tick(TimerId timer, bool taken) override
    {
        if (taken) ++ticks_[static_cast<std::size_t>(timer)];
    }

    WebFrontEnd front_end_;
    RecordingText recording_;
    // The moments of the page's events are its game's own time, which stands still while
    // the page is hidden or the question open.
    Recorder recorder_{front_end_, recording_, recording_header(" in a browser"), [this] { return front_end_.now(); }};
    Form1 game_{recorder_};
    FormControls design_;
    std::unique_ptr<Replay> replay_;
    std::string dumps_;  // what the dumps of the script run at once wrote
    std::unique_ptr<Playback> watched_;
    std::int64_t watch_now_ = 0;
    std::array<long, timer_count> ticks_{};
    std::array<double, 5> clock_{};
    std::optional<paint::PaintPlan> painted_;
    std::optional<paint::Frame> frame_;
    std::string labels_;
    News news_;
    ControllerMap pad_;
    std::string frame_text_;
    std::vector<double> numbers_;
};

Page& page()
{
    static Page instance;
    return instance;
}

// The last text handed to the page; a null pointer for none.
const char* handed(std::string text)
{
    static std::string kept;
    kept = std::move(text);
    return kept.empty() ? nullptr : kept.c_str();
}

}  // namespace
}  // namespace vorbix::web

using vorbix::web::handed;
using vorbix::web::page;

extern "C" {

// How the numbers of a paint are laid out, and the hatches' tiles (see page_view.h).
EMSCRIPTEN_KEEPALIVE const char* vorbix_layout() { return handed(vorbix::web::layout_json()); }

// The player's events. Start and a click on "Game Over" ask the question: the page asks it
// first and hands in the answer, 1 for Yes and 0 for No (-1 for none).
EMSCRIPTEN_KEEPALIVE void vorbix_start(int yes) { page().start(yes != 0); }
EMSCRIPTEN_KEEPALIVE int vorbix_key(const char* name) { return page().key(name) ? 1 : 0; }
EMSCRIPTEN_KEEPALIVE int vorbix_click(const char* button, int answer) { return page().click(button, answer); }

// A controller of the standard layout, read at `now` milliseconds of a steady clock: its
// buttons pressed (bit i for the Gamepad API's button i) and its left stick, with whether the
// page's question is open (see Page::pad).
EMSCRIPTEN_KEEPALIVE const char* vorbix_pad(unsigned pressed, double stick_x, double stick_y, double now, int asking)
{
    const vorbix::PadReading reading =
        vorbix::web::standard_pad(pressed, static_cast<float>(stick_x), static_cast<float>(stick_y));
    return handed(page().pad(reading, static_cast<std::int64_t>(now), asking != 0));
}

// Lets milliseconds pass; gives five numbers: the milliseconds until something falls due
// next (-1 while nothing runs), whether the recording being watched has ended, and how many
// ticks Timer1, Timer2 and Timer3 have had.
EMSCRIPTEN_KEEPALIVE const double* vorbix_advance(double milliseconds) { return page().advance(milliseconds).data(); }

// What to paint, with twips to a CSS pixel and device pixels to a CSS pixel (see
// page_view.h), what changed since the last paint or all of it: its numbers, or a null
// pointer while the window is unloaded. The frame they point to holds until the next paint.
EMSCRIPTEN_KEEPALIVE const double* vorbix_paint(double twips_per_pixel, double ratio, int whole)
{
    const auto& numbers = page().paint(vorbix::paint::Scale{twips_per_pixel, ratio}, whole != 0);
    return numbers.empty() ? nullptr : numbers.data();
}
EMSCRIPTEN_KEEPALIVE const char* vorbix_runs() { return handed(page().runs()); }

// Shows a script instead of the page's game (see Page::show): {"playable", "message",
// "dumps"}.
EMSCRIPTEN_KEEPALIVE const char* vorbix_show(const char* script, int at_once)
{
    return handed(page().show(script, at_once != 0));
}

// The whole state, as vorbix-replay's dump writes it, and the game as the page has played it
// since it loaded, as a recording.
EMSCRIPTEN_KEEPALIVE const char* vorbix_dump() { return handed(page().dump()); }
EMSCRIPTEN_KEEPALIVE const char* vorbix_recording() { return handed(page().recording()); }
}
