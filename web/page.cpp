// The page's game: what the page's script (site/) calls. The game runs on the page's front
// end; a script handed over is run as vorbix-replay runs it, and its game shown standing
// still. Texts and numbers handed to the page stay valid until the next such call.
#include "form/form1.h"
#include "paint/plan.h"
#include "script/dump.h"
#include "script/replay.h"
#include "web/key_map.h"
#include "web/page_view.h"
#include "web/web_front_end.h"

#include <emscripten.h>

#include <array>
#include <memory>
#include <sstream>
#include <string>

namespace vorbix::web {
namespace {

class Page final : private HeadlessFrontEnd::TickObserver {
public:
    Page() { front_end_.observe_ticks(this); }

    Form1& game() { return game_; }
    HeadlessFrontEnd& clock() { return front_end_; }
    long ticks(TimerId timer) const { return ticks_[static_cast<std::size_t>(timer)]; }
    long all_ticks() const { return ticks_[0] + ticks_[1] + ticks_[2]; }

    // Runs a script as vorbix-replay runs it; its game is shown from then on. Gives "" or
    // the "line N: ..." message of the line that stopped it.
    std::string replay(const std::string& script)
    {
        replay_ = std::make_unique<Replay>();
        std::istringstream lines(script);
        return replay_->run(lines).value_or("");
    }

    std::optional<WindowView> window() const { return replay_ ? replay_->view() : game_.window(); }

    // The numbers of what to paint at a ratio: the plan's changes since the last paint.
    const std::vector<double>& paint(double ratio)
    {
        numbers_.clear();
        const auto shown = window();
        if (!shown) return numbers_;
        paint::PaintPlan next = paint::plan_of(*shown, paint::Scale{15.0, ratio});
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
        return frame_json(*frame_);
    }

    std::string dump() const
    {
        if (replay_) return replay_->dump();
        const WindowView shown = game_.window().value_or(design_.view());
        return dump_json({front_end_.now(), front_end_.questions()}, game_.state, shown);
    }

private:
    void before_tick(TimerId) override {}
    void after_tick(TimerId timer) override { ++ticks_[static_cast<std::size_t>(timer)]; }

    WebFrontEnd front_end_;
    Form1 game_{front_end_};
    FormControls design_;
    std::unique_ptr<Replay> replay_;
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

// What to paint at a device pixel ratio (see page_view.h): gives how many numbers, which
// vorbix_painted points to. Nothing while the window is unloaded.
EMSCRIPTEN_KEEPALIVE int vorbix_paint(double ratio) { return static_cast<int>(page().paint(ratio).size()); }
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

EMSCRIPTEN_KEEPALIVE const char* vorbix_replay(const char* script) { return handed(page().replay(script)); }
}
