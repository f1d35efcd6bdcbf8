// Cost of the game's own work on the headless front end: one gravity step, a landing that
// removes four rows, a key move with its collision test, and whole games through the
// replay engine.
#include "bench/fixed_games.h"
#include "bench/four_row_landing.h"
#include "form/board.h"
#include "form/form1.h"
#include "headless/headless_front_end.h"
#include "script/replay.h"

#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

namespace vorbix {
namespace {

// A game past its intro, with the first piece spawned and gravity running.
struct RunningGame {
    RunningGame()
    {
        front_end.queue_answer(answer_no);
        form.start();
        front_end.advance(100);
    }
    HeadlessFrontEnd front_end;
    Form1 form{front_end};
};

void gravity_step_in_the_air(benchmark::State& bench)
{
    RunningGame game;
    GameState& state = game.form.state;
    state.fallstep = 0.0f;  // the piece stays where it is, so no step ever lands
    state.row = 5.5f;
    for (auto _ : bench) {
        game.form.Timer1_Timer();
        benchmark::DoNotOptimize(state.landed);
    }
}
BENCHMARK(gravity_step_in_the_air);

void landing_that_removes_four_rows(benchmark::State& bench)
{
    RunningGame game;
    SpritePool& grid = game.form.controls->Shape2;
    bool all_removed = true;
    for (auto _ : bench) {
        bench.PauseTiming();
        prepare_four_row_landing(game.form);
        bench.ResumeTiming();
        game.form.Timer1_Timer();
        bench.PauseTiming();
        all_removed = all_removed && !grid[grid_element(20, 1)].visible && !grid[grid_element(17, 10)].visible;
        bench.ResumeTiming();
    }
    if (!all_removed) bench.SkipWithError("a landing left full rows behind");
}
BENCHMARK(landing_that_removes_four_rows);

void key_move_with_collision_test(benchmark::State& bench)
{
    RunningGame game;
    game.form.state.row = 5.0f;
    int key = 37;
    for (auto _ : bench) {
        game.form.Form_KeyDown(key, 0);
        key = key == 37 ? 39 : 37;
        benchmark::DoNotOptimize(game.form.state.col);
    }
}
BENCHMARK(key_move_with_collision_test);

void whole_games_through_the_replay_engine(benchmark::State& bench)
{
    const std::string script = fixed_games(10);
    for (auto _ : bench) {
        std::istringstream in(script);
        std::ostringstream out;
        std::ostringstream errors;
        if (run_script(in, out, errors) != 0) bench.SkipWithError(errors.str().c_str());
        benchmark::DoNotOptimize(out.str());
    }
    bench.counters["virtual_s_per_real_s"] =
        benchmark::Counter(10.0 * 60 * static_cast<double>(bench.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(whole_games_through_the_replay_engine)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vorbix

BENCHMARK_MAIN();
