// A thousand games in one process, each played to its end with the Down key and gravity
// ticks and then restarted with "Game Over": every restart must build the window afresh
// (all 296 sprites, the 64 walls) and keep the best score.
#include "support/game_watch.h"
#include "support/headless_game.h"

#include <gtest/gtest.h>

#include <string>

namespace vorbix::testing {
namespace {

constexpr int games = 1000;
// A game of falling pieces at one row a tick fills the well long before this many ticks.
constexpr int most_ticks_per_game = 20000;

// Runs the intro to its end, then drops every piece fast until "Game Over" shows.
// Gives the number of gravity ticks it took.
int play_to_the_end(HeadlessGame& game)
{
    game.front_end.tick(TimerId::timer2, 1000);
    int ticks = 0;
    while (!game.ui().Command1.visible && ticks < most_ticks_per_game) {
        game.form.key_down(40);
        game.front_end.tick(TimerId::timer1);
        ++ticks;
    }
    return ticks;
}

TEST(Soak, AThousandGamesWithRestartsRebuildTheWindowAndKeepTheBestScore)
{
    HeadlessGame game;
    game.start(answer_no);
    GameWatch watch;
    std::string best;
    for (int n = 1; n <= games; ++n) {
        SCOPED_TRACE("game " + std::to_string(n));
        const int ticks = play_to_the_end(game);
        ASSERT_LT(ticks, most_ticks_per_game) << "the game never ended";
        ASSERT_EQ(watch.check(game.form), "");
        ASSERT_FALSE(game.ui().Timer1.live()) << "gravity still runs after the game";

        const std::string final_score = game.state().score.text();
        ASSERT_GE(game.state().hiscore, final_score);
        ASSERT_GE(game.state().hiscore, best) << "the best score went down";
        best = game.state().hiscore;

        // Alternate the answers, so that both piece sets are played and restarted.
        game.restart(n % 2 == 0 ? answer_no : answer_yes);

        ASSERT_EQ(game.front_end.asked(), n + 1);
        ASSERT_EQ(watch.check(game.form), "");
        EXPECT_EQ(pool_problem(game.ui().Shape1, 16), "");
        EXPECT_EQ(pool_problem(game.ui().Shape2, 264), "");
        EXPECT_EQ(pool_problem(game.ui().Shape3, 16), "");
        ASSERT_EQ(game.visible_grid_sprites(), 64) << "the new well is not empty";
        ASSERT_EQ(visible_wall_cells(game.ui()), 64);
        ASSERT_FALSE(game.ui().Command1.visible);
        ASSERT_EQ(game.state().hiscore, best) << "the restart lost the best score";
        ASSERT_EQ(game.ui().hscorelabel.text, "HiScore:" + best);
        ASSERT_EQ(game.state().score.text(), "000000");
        ASSERT_EQ(game.ui().Timer2.interval(), 1);
    }
    // Every game scores at least its landed pieces, so the best score is above zero.
    EXPECT_GT(best, "000000");
}

}  // namespace
}  // namespace vorbix::testing
