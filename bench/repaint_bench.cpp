// Cost of painting the game window on Qt's offscreen platform: one repaint of the whole
// window, the repaint that follows one gravity step of a piece in the air, and the one that
// brings up the Pause button after P, each with the window drawn at a zoom of 1 to 4 as the
// player's window draws it when made larger. The game runs on the headless front end; the
// window paints from its controls as on a screen. The counters give the repainted area,
// which after a step must stay within the cells the piece covered before and after it. A
// landing that removes four rows shows the cost of a large change. The plan alone, without
// Qt, is timed beside them: the rest of a repaint is the executor's and Qt's.
#include "bench/four_row_landing.h"
#include "form/form1.h"
#include "headless/headless_front_end.h"
#include "paint/plan.h"
#include "qt/fonts.h"
#include "qt/game_window.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QObject>
#include <QPaintEvent>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <optional>

namespace vorbix::qt {
namespace {

// The area of a region in square pixels.
long long area_of(const QRegion& region)
{
    long long area = 0;
    for (const QRect& rect : region) area += static_cast<long long>(rect.width()) * rect.height();
    return area;
}

// Records the regions that the window is asked to paint.
class PaintWatch : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
    QRegion painted;
};

// A game in play with its window shown at a zoom: the curtain open, a piece in the air.
struct ShownGame {
    explicit ShownGame(double zoom)
    {
        front_end.queue_answer(answer_no);
        form.start();
        // The intro and the curtain are over; the first piece falls.
        front_end.advance(3600);
        window = std::make_unique<GameWindow>(&form);
        window->set_zoom(zoom);
        window->show();
        window->refresh();
        QCoreApplication::processEvents();
        window->installEventFilter(&watch);
        hold_in_the_air();
    }

    // A piece five rows down, which the steps move up and down by turns and never land.
    void hold_in_the_air()
    {
        form.state.row = 5.0f;
        form.state.fallstep = 0.3f;
        form.Timer1_Timer();
        window->refresh();
        QCoreApplication::processEvents();
    }

    // Where the visible cells of the falling piece are, in the window's pixels.
    QRegion piece_region() const
    {
        QRegion region;
        const SpritePool& pool = form.controls->Shape1;
        for (int k = 1; k < pool.size(); ++k) {
            if (pool.exists(k) && pool[k].visible) {
                const Rect& place = pool[k].place;
                const double twips = twips_per_pixel(window->logicalDpiX()) / window->zoom();
                const QRectF pixels(static_cast<double>(place.left) / twips, static_cast<double>(place.top) / twips,
                                    static_cast<double>(place.width) / twips,
                                    static_cast<double>(place.height) / twips);
                region += pixels.toAlignedRect().adjusted(-1, -1, 1, 1);
            }
        }
        return region;
    }

    HeadlessFrontEnd front_end;
    Form1 form{front_end};
    std::unique_ptr<GameWindow> window;
    PaintWatch watch;
};

// The zooms measured: the window's own size, two, three (as measured in play) and four times as large.
void at_each_zoom(benchmark::internal::Benchmark* bench)
{
    bench->ArgName("zoom")->Arg(1)->Arg(2)->Arg(3)->Arg(4)->Unit(benchmark::kMicrosecond);
}

double zoom_of(const benchmark::State& bench) { return static_cast<double>(bench.range(0)); }

void full_repaint(benchmark::State& bench)
{
    ShownGame game(zoom_of(bench));
    for (auto _ : bench) game.window->repaint();
    const QRect whole = game.window->rect();
    bench.counters["repainted_px"] = static_cast<double>(whole.width()) * whole.height();
}
BENCHMARK(full_repaint)->Apply(at_each_zoom);

void repaint_after_gravity_step(benchmark::State& bench)
{
    ShownGame game(zoom_of(bench));
    long long repainted = 0;
    long long allowed = 0;
    bool within_the_piece = true;
    for (auto _ : bench) {
        bench.PauseTiming();
        const QRegion before = game.piece_region();
        game.watch.painted = QRegion();
        // Up and down by turns, so that the piece stays in the air.
        game.form.state.fallstep = -game.form.state.fallstep;
        bench.ResumeTiming();

        game.form.Timer1_Timer();
        game.window->refresh();
        QCoreApplication::sendPostedEvents();

        bench.PauseTiming();
        const QRegion bound = (before + game.piece_region()) & game.window->rect();
        repainted += area_of(game.watch.painted);
        allowed += area_of(bound);
        if (game.watch.painted.isEmpty() || !(game.watch.painted - bound).isEmpty()) within_the_piece = false;
        bench.ResumeTiming();
    }
    const QRect whole = game.window->rect();
    const double steps = static_cast<double>(bench.iterations());
    bench.counters["repainted_px"] = static_cast<double>(repainted) / steps;
    bench.counters["piece_px"] = static_cast<double>(allowed) / steps;
    bench.counters["window_px"] = static_cast<double>(whole.width()) * whole.height();
    if (!within_the_piece) bench.SkipWithError("a gravity step repainted outside the cells of the piece");
}
BENCHMARK(repaint_after_gravity_step)->Apply(at_each_zoom);

// The plan's share of a step's repaint: the step, the plan at the window's scale and the
// areas that changed, which is what refresh() does before Qt paints.
void plan_after_gravity_step(benchmark::State& bench)
{
    ShownGame game(zoom_of(bench));
    const paint::Scale scale{twips_per_pixel(game.window->logicalDpiX()),
                             game.window->devicePixelRatioF() * zoom_of(bench)};
    std::optional<WindowView> view = game.form.window();
    paint::PaintPlan painted = paint::plan_of(*view, scale);
    std::size_t areas = 0;
    for (auto _ : bench) {
        game.form.state.fallstep = -game.form.state.fallstep;
        game.form.Timer1_Timer();
        view = game.form.window();
        paint::PaintPlan next = paint::plan_of(*view, scale);
        areas += paint::changed_areas(&painted, next).size();
        painted = std::move(next);
    }
    if (areas == 0) bench.SkipWithError("the steps changed nothing");
    bench.counters["areas"] = static_cast<double>(areas) / static_cast<double>(bench.iterations());
}
BENCHMARK(plan_after_gravity_step)->Apply(at_each_zoom);

// P brings up the Pause button over the well: the button is painted, and the surface under it.
// Showing a child widget may leave its paint to the event loop, so the loop runs once; the
// click that takes the button away again is not timed.
void repaint_after_pause(benchmark::State& bench)
{
    ShownGame game(zoom_of(bench));
    QWidget* button = game.window->findChild<QWidget*>(QStringLiteral("Pause"));
    PaintWatch button_watch;
    button->installEventFilter(&button_watch);
    long long repainted = 0;
    long long button_painted = 0;
    bool every_press_shown = true;
    for (auto _ : bench) {
        game.window->press(QKeyEvent(QEvent::KeyPress, Qt::Key_P, Qt::NoModifier));
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();

        bench.PauseTiming();
        if (button_watch.painted.isEmpty()) every_press_shown = false;
        repainted += area_of(game.watch.painted);
        button_painted += area_of(button_watch.painted);
        game.form.click(game.form.controls->Pause.name);
        game.window->refresh();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        game.watch.painted = QRegion();
        button_watch.painted = QRegion();
        bench.ResumeTiming();
    }
    if (!every_press_shown) bench.SkipWithError("a press of P did not paint the Pause button");
    const double presses = static_cast<double>(bench.iterations());
    bench.counters["repainted_px"] = static_cast<double>(repainted) / presses;
    bench.counters["button_px"] = static_cast<double>(button_painted) / presses;
}
BENCHMARK(repaint_after_pause)->Apply(at_each_zoom);

// The step in which a bar lands and four rows go: the rows, the piece, the preview and the
// counters change at once.
void repaint_after_four_row_landing(benchmark::State& bench)
{
    ShownGame game(1.0);
    long long repainted = 0;
    for (auto _ : bench) {
        bench.PauseTiming();
        prepare_four_row_landing(game.form);
        game.window->refresh();
        QCoreApplication::sendPostedEvents();
        game.watch.painted = QRegion();
        bench.ResumeTiming();

        game.form.Timer1_Timer();
        game.window->refresh();
        QCoreApplication::sendPostedEvents();

        bench.PauseTiming();
        repainted += area_of(game.watch.painted);
        bench.ResumeTiming();
    }
    const QRect whole = game.window->rect();
    bench.counters["repainted_px"] = static_cast<double>(repainted) / static_cast<double>(bench.iterations());
    bench.counters["window_px"] = static_cast<double>(whole.width()) * whole.height();
}
BENCHMARK(repaint_after_four_row_landing)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vorbix::qt

int main(int argc, char* argv[])
{
    // The window is painted off the screen: no display is needed.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    vorbix::qt::substitute_design_fonts();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
