// Random streams of everything a player and the clock can do to the game: keys (the ones
// that act, their neighbours and any code at all), clicks on the buttons a player can see,
// single timer ticks and stretches of time, across restarts with either answer. After every
// event, and around every tick inside a stretch of time, the game must keep its promises.
// A failing seed is shrunk and printed as a vorbix-replay script that shows the fault.
#include "script/replay.h"
#include "support/game_watch.h"
#include "support/isolated_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace vorbix::testing {
namespace {

// A small, fully specified generator, so that a seed means the same stream everywhere.
class Dice {
public:
    explicit Dice(std::uint64_t seed) : engine_(seed * 0x9e3779b97f4a7c15ULL + 1) {}
    // A whole number from 0 to n - 1.
    int below(int n) { return static_cast<int>(engine_() % static_cast<std::uint64_t>(n)); }
    bool chance(int percent) { return below(100) < percent; }

private:
    std::mt19937_64 engine_;
};

using Script = std::vector<std::string>;

std::string script_text(const Script& script)
{
    std::string text;
    for (const auto& line : script) text += line + '\n';
    return text;
}

// The keys the game acts on: Left, Right, A, S, Down and P.
constexpr int acting_keys[] = {37, 39, 65, 83, 40, 80};

bool acts_on(int code)
{
    return std::find(std::begin(acting_keys), std::end(acting_keys), code) != std::end(acting_keys);
}

// Whether the piece that lands in this gravity tick stops with a cell in the top wall row or
// above it, which ends the game. Where each cell of the piece's box shows a cell of its mask
// is the game's own answer: a game of its own, in the same state, turns the piece.
bool stops_at_the_top(const GameState& before)
{
    HeadlessFrontEnd front_end;
    Form1 turning(front_end);
    turning.state = before;
    const int first_row = whole_part(before.row + before.fallstep + 1.0f);
    for (int a = 1; a <= 4; ++a) {
        for (int b = 1; b <= 4; ++b) {
            turning.state.outer = a;
            turning.state.inner = b;
            turning.rotate();
            const std::string& mask_row = before.pieces[before.piece][turning.state.maskrow];
            const auto column = static_cast<std::size_t>(turning.state.maskcol - 1);
            if (column >= mask_row.size() || mask_row[column] != '1') continue;
            // The top wall row's cells up to the last but one, and every place above them.
            if (grid_element(first_row + a - 1, before.col + b) < grid_element(0, board_columns - 1)) return true;
        }
    }
    return false;
}

int count_value(const std::string& digits) { return std::stoi(digits); }

// Runs script lines through the replay engine and checks the game after each one and around
// each tick.
class CheckedGame : private HeadlessFrontEnd::TickObserver {
public:
    CheckedGame() { replay.front_end().observe_ticks(this); }

    // Runs one line; gives false once something is wrong (see failure).
    bool run(const std::string& line)
    {
        if (!failure.empty()) return false;
        const Form1& form = replay.form();
        const GameState before = form.state;
        std::istringstream words(line);
        std::string command;
        int code = 0;
        words >> command >> code;
        const bool key = command == "key";
        // A whole dump is costly: one key in sixteen of those the game has no use for is compared.
        const bool compared = key && !acts_on(code) && replay.started() && idle_keys_++ % 16 == 0;
        const std::string dump_before = compared ? replay.dump() : "";
        const int asked = replay.front_end().asked();
        replay.run_line(line);
        if (!failure.empty()) return false;
        if (!replay.started()) return true;
        fail_with(watch.check(form));
        if (!failure.empty()) return false;

        const GameState& after = form.state;
        // What each key does is the keyboard's table (flow_keys_test); here, in any state a
        // stream reaches, a key the game has no use for changes nothing it shows, and no key
        // moves the piece more than a column or earns more than the fast drop's points.
        if (compared && replay.dump() != dump_before) {
            fail_with("key " + std::to_string(code) + " changed the game");
        } else if (key) {
            if (std::abs(after.col - before.col) > 1 || after.row != before.row) {
                fail_with("a key moved the piece too far");
            }
            const double points = after.score.numeric_value() - before.score.numeric_value();
            if (points != 0 && points != 5)
                fail_with("key " + std::to_string(code) + " earned " + std::to_string(points));
        } else if (command == "click" && line.find("Command1") != std::string::npos &&
                   asked != replay.front_end().asked()) {
            if (after.hiscore != before.hiscore) fail_with("the restart lost the best score");
            if (!after.score.is_text() || after.score.text() != "000000" || after.blockcount != "0000" ||
                after.rowcount != "000") {
                fail_with("the restart did not reset the counters");
            }
        }
        return failure.empty();
    }

    Replay replay;
    GameWatch watch;
    std::string failure;

private:
    void fail_with(const std::string& problem)
    {
        if (failure.empty() && !problem.empty()) failure = problem;
    }

    void before_tick(TimerId /*id*/) override
    {
        paused_before_tick_ = replay.form().controls->Pause.visible;
        before_tick_ = replay.form().state;
    }

    void after_tick(TimerId id, bool taken) override
    {
        if (!taken) return;
        if (paused_before_tick_) {
            fail_with("Timer" + std::to_string(static_cast<int>(id) + 1) + " ticked in a paused game");
        }
        fail_with(watch.check(replay.form()));
        if (!replay.form().controls) return;
        const FormControls& ui = *replay.form().controls;
        if (id != TimerId::timer1) return;
        const GameState& after = replay.form().state;
        const bool landed = after.blockcount != before_tick_.blockcount;
        if (landed) {
            const int blocks = count_value(before_tick_.blockcount);
            if (count_value(after.blockcount) != (blocks + 1) % 10000) fail_with("a landing miscounted the blocks");
            if (!after.score.is_text()) fail_with("the score is still a number after a landing");
            const bool over = stops_at_the_top(before_tick_);
            if (ui.Command1.visible != over) {
                fail_with(over ? "a landing in the top wall row did not end the game"
                               : "\"Game Over\" after a landing inside the well");
            }
        } else {
            if (ui.Command1.visible) fail_with("\"Game Over\" shown without a landing");
            if (after.row != before_tick_.row + before_tick_.fallstep) fail_with("gravity moved the piece wrongly");
        }
    }

    GameState before_tick_;
    bool paused_before_tick_ = false;
    std::uint64_t idle_keys_ = 0;
};

// The outcome of running a script: where it first went wrong and how.
struct Verdict {
    std::optional<std::size_t> failed_at;
    std::string problem;
};

Verdict run_script_checked(const Script& script)
{
    CheckedGame checked;
    for (std::size_t i = 0; i < script.size(); ++i) {
        if (!checked.run(script[i])) return {i, checked.failure};
    }
    return {};
}

// Chooses the next events from what a player could do with the game as it stands.
class Player {
public:
    explicit Player(std::uint64_t seed) : dice_(seed) {}

    Script opening()
    {
        Script lines{answer()};
        for (int n = dice_.below(4); n > 0; --n) lines.push_back(random_line());
        lines.push_back("start");
        return lines;
    }

    // The next lines (a restart takes its answer with it); each counts as one event.
    Script next(const Form1& form)
    {
        const FormControls& ui = *form.controls;
        if (ui.Command1.visible && dice_.chance(30)) {
            Script lines{answer()};
            if (dice_.chance(50)) lines.push_back(random_line());
            lines.push_back("click Command1");
            return lines;
        }
        if (ui.Pause.visible && dice_.chance(25)) return {"click Pause"};
        const int roll = dice_.below(100);
        if (roll < 45) return {"key " + std::to_string(key_code())};
        if (roll < 80) {
            const int timer = dice_.chance(65) ? 1 : (dice_.chance(60) ? 2 : 3);
            return {"tick " + std::to_string(timer)};
        }
        if (roll < 97) return {"advance " + std::to_string(stretch_of_time())};
        return {random_line()};
    }

private:
    std::string answer() { return dice_.chance(50) ? "answer yes" : "answer no"; }

    std::string random_line() { return "random " + std::to_string(dice_.below(1000) / 1000.0).substr(0, 5); }

    int key_code()
    {
        static constexpr int neighbours[] = {36, 38, 41, 64, 66, 82, 84, 79, 81, 0, 65535};
        const int roll = dice_.below(100);
        if (roll < 65) {
            // Fewer pauses than moves, so that games run on between them.
            const int key = acting_keys[dice_.below(6)];
            return key == 80 && dice_.chance(50) ? 40 : key;
        }
        if (roll < 85) return neighbours[dice_.below(static_cast<int>(std::size(neighbours)))];
        return dice_.below(65536);
    }

    // Mostly a few gravity ticks, now and then up to three seconds.
    int stretch_of_time()
    {
        const int roll = dice_.below(100);
        if (roll < 70) return dice_.below(101);
        if (roll < 95) return 100 + dice_.below(901);
        return 1000 + dice_.below(2001);
    }

    Dice dice_;
};

// Generates and runs one seed's stream in a child process, sending each line before it runs,
// so that even a crash leaves the lines that led to it.
IsolatedResult play_seed(std::uint64_t seed, int events)
{
    return run_isolated([seed, events](int report) {
        Player player(seed);
        CheckedGame checked;
        auto run = [&](const Script& lines) {
            for (const auto& line : lines) {
                write_report(report, "L " + line + "\n");
                if (!checked.run(line)) {
                    write_report(report, "F " + checked.failure + "\n");
                    return false;
                }
            }
            return true;
        };
        if (!run(player.opening())) return child_failed;
        for (int n = 0; n < events; ++n) {
            if (!run(player.next(checked.replay.form()))) return child_failed;
        }
        return child_passed;
    });
}

IsolatedResult replay_isolated(const Script& script)
{
    return run_isolated([&script](int report) {
        const Verdict verdict = run_script_checked(script);
        if (!verdict.failed_at) return child_passed;
        write_report(report, verdict.problem);
        return child_failed;
    });
}

// Drops lines while the script still goes wrong the same way (a crash stays a crash, a broken
// promise stays broken), trying at most a bounded number of candidates.
Script shrink(Script script, IsolatedResult::Kind kind, std::string& last_problem)
{
    constexpr int most_tries = 400;
    int tries = 0;
    for (std::size_t chunk = script.size() / 2; chunk >= 1 && tries < most_tries; chunk /= 2) {
        for (std::size_t at = 0; at < script.size() && tries < most_tries;) {
            Script candidate(script.begin(), script.begin() + static_cast<std::ptrdiff_t>(at));
            candidate.insert(candidate.end(),
                             script.begin() + static_cast<std::ptrdiff_t>(std::min(at + chunk, script.size())),
                             script.end());
            ++tries;
            const IsolatedResult result = replay_isolated(candidate);
            if (result.kind == kind) {
                script = std::move(candidate);
                last_problem = kind == IsolatedResult::Kind::crashed ? result.errors : result.report;
            } else {
                at += chunk;
            }
        }
    }
    return script;
}

struct SeedReport {
    bool passed = true;
    std::string message;
};

SeedReport check_seed(std::uint64_t seed, int events)
{
    const IsolatedResult result = play_seed(seed, events);
    if (result.kind == IsolatedResult::Kind::passed) return {};

    Script script;
    std::string problem = result.crashed() ? result.errors : "";
    std::istringstream report(result.report);
    for (std::string line; std::getline(report, line);) {
        if (line.rfind("L ", 0) == 0) script.push_back(line.substr(2));
        if (line.rfind("F ", 0) == 0) problem = line.substr(2);
    }
    const auto kind = result.kind == IsolatedResult::Kind::failed ? result.kind : IsolatedResult::Kind::crashed;
    script = shrink(script, kind, problem);
    std::string message = "seed " + std::to_string(seed) +
                          (result.crashed() ? " crashed (" + result.how + ")" : " failed") + ": " + problem +
                          "\nvorbix-replay script that shows it (" + std::to_string(script.size()) + " lines):\n" +
                          script_text(script);
    return {false, message};
}

// The normal run: 8 groups of 16 seeds, 1,600 events each (204,800 events in all).
constexpr int seeds_per_group = 16;
constexpr int events_per_seed = 1600;

std::uint64_t first_seed()
{
    // VORBIX_FUZZ_FIRST_SEED moves the whole run to other seeds, to search further by hand.
    const char* offset = std::getenv("VORBIX_FUZZ_FIRST_SEED");
    return offset != nullptr ? std::strtoull(offset, nullptr, 10) : 1;
}

class EventStreamFuzz : public ::testing::TestWithParam<int> {};

TEST_P(EventStreamFuzz, EverySeedKeepsTheGamesPromises)
{
    const std::uint64_t first = first_seed() + static_cast<std::uint64_t>(GetParam()) * seeds_per_group;
    for (std::uint64_t seed = first; seed < first + seeds_per_group; ++seed) {
        const SeedReport report = check_seed(seed, events_per_seed);
        EXPECT_TRUE(report.passed) << report.message;
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, EventStreamFuzz, ::testing::Range(0, 8));

// The checks themselves must be able to fail: a game whose well lost a wall cell, or whose
// gravity timer was given an interval the game never sets, is caught.
TEST(EventStreamFuzzChecks, BrokenGamesAreCaught)
{
    CheckedGame checked;
    for (const char* line : {"answer no", "start"}) ASSERT_TRUE(checked.run(line)) << checked.failure;
    checked.replay.form().controls->Shape2[grid_element(0, 5)].visible = false;
    EXPECT_FALSE(checked.run("key 38"));
    EXPECT_EQ(checked.failure, "walls: 63 of 64 wall cells visible");

    CheckedGame timers;
    for (const char* line : {"answer yes", "start"}) ASSERT_TRUE(timers.run(line)) << timers.failure;
    timers.replay.form().controls->Timer1.set_interval(40);
    EXPECT_FALSE(timers.run("key 38"));
    EXPECT_EQ(timers.failure, "Timer1 interval 40");
}

TEST(EventStreamFuzzChecks, AnAbortInTheGameComesBackAsACrash)
{
    // A sprite pool refuses an element that does not exist by aborting; the child process
    // keeps the test program alive and hands back the pool's message.
    const Script script{"answer no", "start", "key 37", "advance 40", "key 39", "tick 3", "key 65"};
    const IsolatedResult crash = run_isolated([&script](int) {
        CheckedGame checked;
        for (const auto& line : script) checked.run(line);
        checked.replay.form().controls->Shape1[17].visible = true;  // an element that does not exist
        return child_passed;
    });
    EXPECT_TRUE(crash.crashed());
    EXPECT_NE(crash.errors.find("Shape1(17) does not exist"), std::string::npos) << crash.errors;
}

TEST(EventStreamFuzzChecks, PrintedScriptsRunInVorbixReplay)
{
    // Whatever the player generates is a script vorbix-replay accepts and runs to the end.
    Player player(12345);
    CheckedGame checked;
    Script script = player.opening();
    for (const auto& line : script) ASSERT_TRUE(checked.run(line)) << checked.failure;
    for (int n = 0; n < 500; ++n) {
        for (const auto& line : player.next(checked.replay.form())) {
            script.push_back(line);
            ASSERT_TRUE(checked.run(line)) << checked.failure;
        }
    }
    std::istringstream text(script_text(script));
    std::ostringstream out;
    std::ostringstream error;
    EXPECT_EQ(run_script(text, out, error), 0) << error.str();
}

}  // namespace
}  // namespace vorbix::testing
