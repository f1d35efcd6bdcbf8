// The page's game: what the page's script (site/) calls. The game runs on the page's front
// end, through a recorder that writes it down as the desktop's --record does, so that the
// page can save it. A recording handed over is played at its own pace, as the desktop's
// --watch plays it; a script can also be run as vorbix-replay runs it, its game then shown
// standing still. Texts and numbers handed to the page stay valid until the next such call.
#include "form/form1.h"
#include "paint/plan.h"
#include "script/dump.h"
#include "script/playback.h"
#include "script/recorder.h"
#include "script/replay.h"
#include "web/key_map.h"
#include "web/page_view.h"
#include "web/web_front_end.h"

#include <emscripten.h>
#include <fmt/format.h>

#include <array>
#include <memory>
#include <sstream>
#include <string>

namespace vorbix::web {
namespace {

class Page final : private HeadlessFrontEnd::TickObserver {
public:
    Page() { front_end_.observe_ticks(this); }

    // The player's events, which the recorder writes down and passes on.
    GamePort& game() { return recorder_; }
    HeadlessFrontEnd& clock() { return front_end_; }
    long ticks(TimerId timer) const { return ticks_[static_cast<std::size_t>(timer)]; }
    long all_ticks() const { return ticks_[0] + ticks_[1] + ticks_[2]; }
    const std::string& recording() const { return recording_.text(); }

    // Runs a script as vorbix-replay runs it; its game is shown from then on. Gives "" or
    // the "line N: ..." message of the line that stopped it. What its dumps wrote, each on a
    // line as vorbix-replay prints them, is kept until the next script.
    std::string replay(const std::string& script)
    {
        replay_dumps_.clear();
        replay_ = std::make_unique<Replay>([this](const std::string& json) { replay_dumps_ += json + '\n'; });
        std::istringstream lines(script);
        return replay_->run(lines).value_or("");
    }
    const std::string& replay_dumps() const { return replay_dumps_; }

    // Takes a recording to watch: gives "" when it plays whole, where it stops when it plays
    // up to a faulty or cut-off line, or why it cannot be watched; it is shown from then on.
    std::string watch(const std::string& text, bool& playable)
    {
        std::istringstream stream(text);
        script::Lines lines = script::Lines::of(stream, "the recording");
        ScriptToPlay script = script_to_play(lines);
        const auto reason = script.unplayable();
        playable = !reason;
        if (reason) return *reason;
        watched_ = std::make_unique<Playback>(std::move(script.commands));
        return script.stopped.value_or("");
    }
    Playback* watched() { return watched_.get(); }

    std::optional<WindowView> window() const
    {
        if (watched_) return watched_->replay().form().window();
        return replay_ ? replay_->view() : game_.window();
    }

    // The numbers of what to paint at a scale: the plan's changes since the last paint.
    const std::vector<double>& paint(const paint::Scale& scale)
    {
        numbers_.clear();
        const auto shown = window();
        if (!shown) return numbers_;
        paint::PaintPlan next = paint::plan_of(*shown, scale);
        const std::vector<paint::Box> areas = paint::changed_areas(painted_ ? &*painted_ : nullptr, next);
        numbers_ = paint_numbers(next, areas, paint::ops_within(next, areas));
        painted_ = std::move(next);
        return numbers_;
    }
    const std::vector<double>& painted_numbers() const { return numbers_; }
    // The next paint paints everything, as after the canvas was cleared.
    void forget_painted() { painted_.reset(); }
    std::string runs() const { return painted_ ? runs_json(*painted_) : "[]"; }

    // The frame of the last paint as JSON when it differs from the one handed over last; ""
    // otherwise.
    std::string frame_if_changed()
    {
        if (!painted_ || (frame_ && *frame_ == painted_->frame)) return {};
        frame_ = painted_->frame;
        return frame_json(*frame_, painted_->scale);
    }

    std::string dump() const
    {
        if (watched_) return watched_->replay().dump();
        if (replay_) return replay_->dump();
        const WindowView shown = game_.window().value_or(design_.view());
        return dump_json({front_end_.now(), front_end_.questions()}, game_.state, shown);
    }

private:
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
    std::string replay_dumps_;
    std::unique_ptr<Playback> watched_;
    std::array<long, timer_count> ticks_{};
    std::optional<paint::PaintPlan> painted_;
    std::optional<paint::Frame> frame_;
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

// Program start: asks the question in the page's dialog, then shows the window.
EMSCRIPTEN_KEEPALIVE void vorbix_start() { page().game().start(); }

EMSCRIPTEN_KEEPALIVE void vorbix_key(int code) { page().game().key_down(code); }

// The game's code for a key by its KeyboardEvent.key name.
EMSCRIPTEN_KEEPALIVE int vorbix_key_code(const char* name) { return vorbix::web::virtual_key(name); }

// "Game Over" asks the question again.
EMSCRIPTEN_KEEPALIVE void vorbix_click(const char* button) { page().game().click(button); }

// Lets milliseconds of the game's time pass; gives how many ticks that delivered.
EMSCRIPTEN_KEEPALIVE long vorbix_advance(double milliseconds)
{
    const long before = page().all_ticks();
    page().clock().advance(static_cast<std::int64_t>(milliseconds));
    return page().all_ticks() - before;
}

// Milliseconds until the next tick falls due; -1 while no timer runs.
EMSCRIPTEN_KEEPALIVE double vorbix_next_due()
{
    const auto due = page().clock().next_due();
    return due ? static_cast<double>(*due) : -1.0;
}

// How many ticks of Timer1, Timer2 or Timer3 (1 to 3) the game has had.
EMSCRIPTEN_KEEPALIVE long vorbix_ticks(int timer) { return page().ticks(static_cast<vorbix::TimerId>(timer - 1)); }

// What to paint, with twips to a CSS pixel and device pixels to a CSS pixel (see
// page_view.h): gives how many numbers, which vorbix_painted points to. Nothing while the
// window is unloaded.
EMSCRIPTEN_KEEPALIVE int vorbix_paint(double twips_per_pixel, double ratio)
{
    return static_cast<int>(page().paint(vorbix::paint::Scale{twips_per_pixel, ratio}).size());
}
EMSCRIPTEN_KEEPALIVE const double* vorbix_painted() { return page().painted_numbers().data(); }
EMSCRIPTEN_KEEPALIVE void vorbix_repaint() { page().forget_painted(); }
EMSCRIPTEN_KEEPALIVE const char* vorbix_runs() { return handed(page().runs()); }
EMSCRIPTEN_KEEPALIVE const char* vorbix_layout() { return handed(vorbix::web::layout_json()); }

// A fill pattern's tile as 256 bytes of an image (see page_view.h), valid until the next call.
EMSCRIPTEN_KEEPALIVE const std::uint8_t* vorbix_hatch_image(int pattern)
{
    static std::vector<std::uint8_t> image;
    image = vorbix::web::hatch_image(static_cast<vorbix::FillPattern>(pattern));
    return image.data();
}

// The frame of the last paint when it changed since the last call; nothing otherwise.
EMSCRIPTEN_KEEPALIVE const char* vorbix_frame() { return handed(page().frame_if_changed()); }

// The whole state, as vorbix-replay's dump writes it.
EMSCRIPTEN_KEEPALIVE const char* vorbix_dump() { return handed(page().dump()); }

// The game as the page has played it since it loaded, as a recording.
EMSCRIPTEN_KEEPALIVE const char* vorbix_recording() { return handed(page().recording()); }

EMSCRIPTEN_KEEPALIVE const char* vorbix_replay(const char* script) { return handed(page().replay(script)); }
EMSCRIPTEN_KEEPALIVE const char* vorbix_replay_dumps() { return handed(page().replay_dumps()); }

// Takes a recording to watch (see Page::watch): {"playable": whether it can be, "message"}.
EMSCRIPTEN_KEEPALIVE const char* vorbix_watch(const char* recording)
{
    bool playable = false;
    const std::string message = page().watch(recording, playable);
    return handed(fmt::format(R"({{"playable":{},"message":{}}})", playable, vorbix::json_string(message)));
}

// The recording being watched: its commands due at a moment of the watcher's clock (in
// milliseconds), when it has something to do next (-1: paused or ended), a key of the
// watcher's (P pauses, or ends the pause; the others do nothing), and whether it has ended.
EMSCRIPTEN_KEEPALIVE void vorbix_watch_play(double now)
{
    if (auto* watched = page().watched()) watched->play(static_cast<std::int64_t>(now));
}
EMSCRIPTEN_KEEPALIVE double vorbix_watch_due()
{
    auto* watched = page().watched();
    const auto due = watched != nullptr ? watched->next_due() : std::nullopt;
    return due ? static_cast<double>(*due) : -1.0;
}
EMSCRIPTEN_KEEPALIVE void vorbix_watch_key(int code, double now)
{
    if (auto* watched = page().watched()) watched->key(code, static_cast<std::int64_t>(now));
}
EMSCRIPTEN_KEEPALIVE int vorbix_watch_ended() { return page().watched() != nullptr && page().watched()->ended(); }
}
