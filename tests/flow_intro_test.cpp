// The intro that turns the four-cell pieces before each game, and the gravity timer that
// takes over from it.
#include "support/headless_game.h"
#include "support/key_codes.h"

#include <gtest/gtest.h>

#include <set>

namespace vorbix {
namespace {

using testing::HeadlessGame;
using testing::visible_elements;

bool intro_running(HeadlessGame& game) { return game.ui().Timer2.interval() > 0 && game.ui().Timer1.interval() == 0; }

bool gravity_running(HeadlessGame& game)
{
    return game.ui().Timer2.interval() == 0 && game.ui().Timer1.interval() == 50;
}

void intro_ticks(HeadlessGame& game, int count) { game.front_end.tick(TimerId::timer2, count); }

// Restarts after a game that left the intro counters as given (all else as the last game).
void restart_with(HeadlessGame& game, int piece, int rotation, float fallstep, int answer = answer_no)
{
    game.state().piece = piece;
    game.state().rotation = rotation;
    game.state().fallstep = fallstep;
    game.restart(answer);
}

TEST(FirstIntro, TicksOneToFourDrawNothing)
{
    HeadlessGame game;
    game.start();
    for (int tick = 1; tick <= 4; ++tick) {
        intro_ticks(game, 1);
        EXPECT_EQ(game.state().piece, 0) << "tick " << tick;
        EXPECT_EQ(game.state().rotation, tick) << "tick " << tick;
        EXPECT_TRUE(visible_elements(game.ui().Shape1).empty()) << "tick " << tick;
    }
}

TEST(FirstIntro, TicksFiveToThirtyTwoShowPiecesOneToSevenInFourTurnsEach)
{
    HeadlessGame game;
    game.start();
    intro_ticks(game, 4);
    for (int tick = 5; tick <= 32; ++tick) {
        intro_ticks(game, 1);
        const int piece = (tick - 5) / 4 + 1;
        const int turn = (tick - 5) % 4 + 1;
        EXPECT_EQ(game.state().piece, piece) << "tick " << tick;
        EXPECT_EQ(game.state().rotation, turn) << "tick " << tick;
        EXPECT_EQ(game.state().row, 8.0f) << "tick " << tick;  // the fall step is still 0
        EXPECT_EQ(game.state().col, 3) << "tick " << tick;
        EXPECT_TRUE(intro_running(game)) << "tick " << tick;
    }
    // The last frame stays: piece 7 in turn 4. Its mask cells are (3,3), (3,4), (4,2), (4,3);
    // box cell (a, b) shows mask cell (b, 5 - a), so the box cells are (2,3), (1,3), (3,4) and
    // (2,4): sprites 3, 7, 8 and 12.
    EXPECT_EQ(visible_elements(game.ui().Shape1), (std::set<int>{3, 7, 8, 12}));
}

TEST(FirstIntro, TheThirtyThirdTickBeginsTheGame)
{
    HeadlessGame game;
    game.start(answer_no, {0.5f, 0.1f});
    intro_ticks(game, 32);
    EXPECT_TRUE(intro_running(game));
    intro_ticks(game, 1);
    EXPECT_TRUE(gravity_running(game));
    EXPECT_EQ(game.state().piece, 4);         // 0.5 x 7 = 3.5: piece 4
    EXPECT_EQ(game.state().nextpiece, 1.0f);  // 0.1 x 7 = 0.7: piece 1
    EXPECT_EQ(game.state().row, -4.0f);
    EXPECT_EQ(game.state().fallstep, 0.3f);
    // change hides the last intro frame.
    EXPECT_TRUE(visible_elements(game.ui().Shape1).empty());
}

TEST(FirstIntro, ByTheClockTheThirtyThirdTwoMillisecondTickIsAtSixtySix)
{
    HeadlessGame game;
    game.start(answer_no, {0.5f, 0.1f});
    game.front_end.advance(65);
    EXPECT_EQ(game.state().piece, 7);
    EXPECT_EQ(game.state().rotation, 4);
    EXPECT_TRUE(intro_running(game));
    game.front_end.advance(1);
    EXPECT_TRUE(gravity_running(game));
    EXPECT_EQ(game.state().piece, 4);
}

TEST(RestartIntro, AfterPieceFiveInTurnOneElevenTicksThenPlayOnTheTwelfth)
{
    HeadlessGame game;
    game.start();
    restart_with(game, 5, 1, 0.3f);
    EXPECT_EQ(game.ui().Timer2.interval(), 1);
    const int expected[11][2] = {{5, 2}, {5, 3}, {5, 4}, {6, 1}, {6, 2}, {6, 3},
                                 {6, 4}, {7, 1}, {7, 2}, {7, 3}, {7, 4}};
    for (int tick = 0; tick < 11; ++tick) {
        game.front_end.advance(1);
        EXPECT_EQ(game.state().piece, expected[tick][0]) << "tick " << tick + 1;
        EXPECT_EQ(game.state().rotation, expected[tick][1]) << "tick " << tick + 1;
        EXPECT_TRUE(intro_running(game)) << "tick " << tick + 1;
    }
    game.queue_randoms({0.0f, 0.0f});
    game.front_end.advance(1);
    EXPECT_TRUE(gravity_running(game));
    EXPECT_EQ(game.state().piece, 1);
}

TEST(RestartIntro, TheCarriedOverFallStepDrawsThePiecesLower)
{
    HeadlessGame game;
    game.start();
    restart_with(game, 5, 1, 0.3f);
    intro_ticks(game, 1);
    // Piece 5 in turn 2 fills box cells (2,2), (2,3), (3,2), (3,3) at row 8 + 0.3.
    EXPECT_EQ(visible_elements(game.ui().Shape1), (std::set<int>{6, 7, 10, 11}));
    EXPECT_NEAR(game.ui().Shape1[6].place.top, 10.3 * 292 + 50, 0.01);  // 3057.6
    EXPECT_EQ(game.ui().Shape1[6].place.left, 5 * 292 + 50);

    restart_with(game, 5, 1, 1.0f);
    intro_ticks(game, 1);
    EXPECT_EQ(game.ui().Shape1[6].place.top, 11 * 292 + 50);
}

TEST(RestartIntro, AfterPieceSevenInTurnFourTheFirstTickBegins)
{
    HeadlessGame game;
    game.start();
    restart_with(game, 7, 4, 0.3f);
    intro_ticks(game, 1);
    EXPECT_TRUE(gravity_running(game));
}

TEST(RestartIntro, ACarriedOverPieceOfEightOrMoreBeginsAtOnce)
{
    for (int piece = 8; piece <= 16; ++piece) {
        for (int rotation : {1, 4}) {
            HeadlessGame game;
            game.start(answer_yes);
            restart_with(game, piece, rotation, 0.3f, answer_yes);
            game.queue_randoms({0.0f, 0.0f});
            game.front_end.advance(1);
            EXPECT_TRUE(gravity_running(game)) << "piece " << piece << " rotation " << rotation;
            EXPECT_EQ(game.state().piece, 1) << "piece " << piece << " rotation " << rotation;
            EXPECT_EQ(game.state().rotation, 1);
            EXPECT_TRUE(visible_elements(game.ui().Shape1).empty());
        }
    }
}

TEST(IntroKeys, LeftAndRightArePutBackToColumnThreeByTheNextTick)
{
    HeadlessGame game;
    game.start();
    intro_ticks(game, 5);  // piece 1, turn 1, at row 8
    game.form.Form_KeyDown(key_left, 0);
    EXPECT_EQ(game.state().col, 2);
    intro_ticks(game, 1);
    EXPECT_EQ(game.state().col, 3);
    game.form.Form_KeyDown(key_right, 0);
    game.form.Form_KeyDown(key_right, 0);
    EXPECT_EQ(game.state().col, 5);
    intro_ticks(game, 1);
    EXPECT_EQ(game.state().col, 3);
}

TEST(IntroKeys, AAtTurnFourWrapsToOneSoThePieceShowsThreeMoreTicks)
{
    HeadlessGame game;
    game.start();
    intro_ticks(game, 8);  // piece 1, turn 4
    ASSERT_EQ(game.state().rotation, 4);
    game.form.Form_KeyDown(key_a, 0);
    EXPECT_EQ(game.state().rotation, 1);
    for (int turn = 2; turn <= 4; ++turn) {
        intro_ticks(game, 1);
        EXPECT_EQ(game.state().piece, 1);
        EXPECT_EQ(game.state().rotation, turn);
    }
    intro_ticks(game, 1);
    EXPECT_EQ(game.state().piece, 2);
    EXPECT_EQ(game.state().rotation, 1);
    // The intro still ends when the count reaches 8: pieces 2 to 7 take 24 more ticks.
    intro_ticks(game, 23);
    EXPECT_TRUE(intro_running(game));
    intro_ticks(game, 1);
    EXPECT_TRUE(gravity_running(game));
}

TEST(IntroKeys, DownDrawsThePiecesARowLowerUntilTheGameBegins)
{
    HeadlessGame game;
    game.start();
    game.form.Form_KeyDown(key_down, 0);
    EXPECT_EQ(game.state().fallstep, 1.0f);
    // The step was 0, not 0.3: no bonus.
    ASSERT_TRUE(game.state().score.is_text());
    EXPECT_EQ(game.state().score.text(), "000000");
    intro_ticks(game, 5);
    // Piece 1 in turn 1: box cell (3,3) is sprite 11, at row 8 + 1 + 3.
    EXPECT_EQ(game.ui().Shape1[11].place.top, 12 * 292 + 50);
    EXPECT_EQ(game.state().row, 9.0f);
    intro_ticks(game, 28);
    EXPECT_TRUE(gravity_running(game));
    EXPECT_EQ(game.state().fallstep, 0.3f);
}

TEST(IntroPause, PausingHoldsTheIntroAndResumingContinuesIt)
{
    HeadlessGame game;
    game.start();
    game.front_end.advance(20);  // ten ticks: piece 2, turn 2
    game.form.Form_KeyDown(key_p, 0);
    game.front_end.advance(1000);
    EXPECT_EQ(game.state().piece, 2);
    EXPECT_EQ(game.state().rotation, 2);
    game.form.Pause_Click();
    game.front_end.advance(1);
    EXPECT_EQ(game.state().rotation, 2);
    game.front_end.advance(1);  // the count restarted at the click: 2 ms later
    EXPECT_EQ(game.state().rotation, 3);
    game.front_end.advance(44);  // 22 more ticks make 33
    EXPECT_TRUE(gravity_running(game));
}

// Gravity: one tick every 50 ms, and a landing settles and spawns in the same tick.

TEST(Gravity, TicksEveryFiftyMillisecondsFromTheEndOfTheIntro)
{
    HeadlessGame game;
    game.start(answer_no, {0.5f, 0.1f});
    game.front_end.advance(115);
    EXPECT_EQ(game.state().row, -4.0f);
    game.front_end.advance(1);
    EXPECT_EQ(game.state().row, -3.7f);
    game.front_end.advance(49);
    EXPECT_EQ(game.state().row, -3.7f);
    game.front_end.advance(1);
    EXPECT_FLOAT_EQ(game.state().row, -3.4f);
}

TEST(Gravity, ALandingTickSettlesCountsAndSpawnsTheNextPieceAtOnce)
{
    HeadlessGame game;
    game.start(answer_no, {0.3f, 0.5f, 0.1f});
    game.front_end.advance(66);
    ASSERT_EQ(game.state().piece, 3);  // the bar, filled in box row 4
    game.form.Form_KeyDown(key_down, 0);
    game.front_end.tick(TimerId::timer1, 19);  // row -4 + 19 = 15: box row 4 at board row 19
    EXPECT_EQ(game.state().piece, 3);
    EXPECT_EQ(game.state().blockcount, "0000");
    game.front_end.tick(TimerId::timer1, 1);  // row 16: the bar stands on the floor
    EXPECT_EQ(game.row_text(20), "...####...");
    EXPECT_EQ(game.state().blockcount, "0001");
    EXPECT_EQ(game.ui().piecelabel.text, "Blocks:0001");
    EXPECT_EQ(game.ui().scorelabel.text, "Score:000015");  // the 5 bonus and 10 for the piece
    EXPECT_EQ(game.state().piece, 4);
    EXPECT_EQ(game.state().nextpiece, 1.0f);
    EXPECT_EQ(game.state().row, -4.0f);
    EXPECT_EQ(game.state().col, 3);
    EXPECT_EQ(game.state().rotation, 1);
    EXPECT_EQ(game.state().fallstep, 0.3f);
    EXPECT_TRUE(visible_elements(game.ui().Shape1).empty());
}

TEST(Gravity, NoGravityTickAfterTheGameIsOver)
{
    HeadlessGame game;
    game.start(answer_no, {0.3f, 0.3f, 0.3f});
    game.front_end.advance(66);
    game.lose_on_first_step();
    game.front_end.advance(50);
    EXPECT_TRUE(game.ui().Command1.visible);
    EXPECT_EQ(game.ui().Timer1.interval(), 0);
    EXPECT_EQ(game.state().blockcount, "0001");
    EXPECT_EQ(game.state().row, -4.0f);  // the piece spawned in the same tick
    game.front_end.advance(10'000);
    EXPECT_EQ(game.state().row, -4.0f);
    EXPECT_EQ(game.state().blockcount, "0001");
    EXPECT_TRUE(visible_elements(game.ui().Shape1).empty());
}

}  // namespace
}  // namespace vorbix
