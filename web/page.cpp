// The page's game: what the page's script (site/page.js) calls. The game runs on the page's
// front end; a page opened with a replay script shows that script's game instead, standing
// still. Texts handed to the page stay valid until the next call.
#include "form/form1.h"
#include "script/dump.h"
#include "script/replay.h"
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

    const std::vector<float>& sprites_given() const { return sprites_; }

    // The visible sprites' numbers, kept until the next call.
    const std::vector<float>& sprites()
    {
        const auto shown = window();
        sprites_ = shown ? sprite_records(*shown) : std::vector<float>();
        return sprites_;
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
    std::vector<float> sprites_;
};

Page& page()
{
    static Page instance;
    return instance;
}

// The last text handed to the page.
const char* handed(std::string text)
{
    static std::string kept;
    kept = std::move(text);
    return kept.c_str();
}

}  // namespace
}  // namespace vorbix::web

using vorbix::web::handed;
using vorbix::web::page;

extern "C" {

// Program start: asks the question in the page's dialog, then shows the window.
EMSCRIPTEN_KEEPALIVE void vorbix_start() { page().game().start(); }

EMSCRIPTEN_KEEPALIVE void vorbix_key(int code) { page().game().key_down(code); }

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

// The window's controls as the page draws them; "" while the window is unloaded. Asked for
// only when changed, they come only when they changed since the last such call, otherwise
// the answer is nothing (a null pointer).
EMSCRIPTEN_KEEPALIVE const char* vorbix_controls(int only_when_changed)
{
    static vorbix::web::ControlsSeen seen;
    const auto window = page().window();
    if (!window) return handed({});
    if (only_when_changed != 0 && !seen.changed(*window)) return nullptr;
    return handed(vorbix::web::controls_json(*window));
}

// The visible sprites' numbers (see page_view.h), and how many sprites the last call gave.
EMSCRIPTEN_KEEPALIVE const float* vorbix_sprites() { return page().sprites().data(); }

EMSCRIPTEN_KEEPALIVE int vorbix_sprite_count()
{
    return static_cast<int>(page().sprites_given().size()) / vorbix::web::sprite_record_size;
}

// The whole state, as vorbix-replay's dump writes it.
EMSCRIPTEN_KEEPALIVE const char* vorbix_dump() { return handed(page().dump()); }

EMSCRIPTEN_KEEPALIVE const char* vorbix_replay(const char* script) { return handed(page().replay(script)); }
}
