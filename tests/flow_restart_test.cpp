// Game over and restart: the "Game Over" button, and a new window that asks again, resets the
// counters and keeps the best score and the fields the last game left; and what the page's
// live region tells of a game.
#include "support/headless_game.h"
#include "support/key_codes.h"
#include "web/news.h"

#include <gtest/gtest.h>

namespace vorbix {
namespace {

using testing::HeadlessGame;

// A normal game that is over: 120 points earned, then a bar that lands on its first step
// because the first inside cell of row 2 is occupied.
class Restart : public ::testing::Test {
protected:
    void SetUp() override
    {
        game.start(answer_no, {0.3f, 0.3f, 0.6f});
        game.front_end.advance(66);
        for (int i = 0; i < 11; ++i) game.form.addscore();  // 000110, and the landing adds 10
        game.lose_on_first_step();
        game.set_occupied(20, 5);
        game.front_end.advance(50);
        ASSERT_TRUE(game.ui().Command1.visible);
        ASSERT_EQ(game.state().hiscore, "000120");
    }

    HeadlessGame game;
};

TEST_F(Restart, GameOverCentresTheButtonInTheClientArea)
{
    // Client area 6304 x 6424; the button 2655 x 2175.
    EXPECT_EQ(game.ui().Command1.place.top, 2124.5f);
    EXPECT_EQ(game.ui().Command1.place.left, 1824.5f);
    EXPECT_EQ(game.ui().Command1.place.width, 2655.0f);
    EXPECT_EQ(game.ui().Command1.place.height, 2175.0f);
    // Four cells of the bar settled in the top wall row: the steps ran four times.
    for (int column = 4; column <= 7; ++column) {
        EXPECT_EQ(game.grid(0, column).pattern, 3) << column;
        EXPECT_EQ(game.grid(0, column).fill, (Rgb{90, 120, 150})) << column;
    }
    EXPECT_EQ(game.ui().Timer1.interval(), 0);
}

TEST(GameOver, CellsAboveTheWellShowTheButtonOnceCentredAndSettleNothing)
{
    HeadlessGame game;
    // The square (piece 5) fills box rows 2 and 3: on its first step (row -3.7) they lie in
    // board rows -2 and -1, above the well.
    game.start(answer_no, {0.6f, 0.6f, 0.6f});
    game.front_end.advance(66);
    game.lose_on_first_step();
    const int visible_before = game.visible_grid_sprites();
    const auto widgets_before = game.ui().widget_order;
    game.front_end.advance(50);
    EXPECT_TRUE(game.ui().Command1.visible);
    EXPECT_EQ(game.ui().Command1.place, (Rect{1824.5f, 2124.5f, 2655, 2175}));
    EXPECT_EQ(game.ui().widget_order, widgets_before);
    EXPECT_EQ(game.visible_grid_sprites(), visible_before);
    EXPECT_EQ(game.state().blockcount, "0001");
    EXPECT_EQ(game.state().score.text(), "000010");
    EXPECT_EQ(game.ui().Timer1.interval(), 0);
}

TEST(GameOver, KeysStillChangeTheSpawnedPieceButNothingIsDrawn)
{
    HeadlessGame game;
    game.start(answer_no, {0.3f, 0.3f, 0.3f});
    game.front_end.advance(66);
    game.lose_on_first_step();
    game.front_end.advance(50);
    ASSERT_TRUE(game.ui().Command1.visible);
    game.form.Form_KeyDown(37, 0);  // the bar can move at once
    EXPECT_EQ(game.state().col, 2);
    game.front_end.advance(1000);
    for (int k = 1; k <= 16; ++k) EXPECT_FALSE(game.ui().Shape1[k].visible) << k;
}

TEST_F(Restart, ThePreviewMovesOnOnceMoreAtGameOver)
{
    EXPECT_EQ(game.state().piece, 3);
    EXPECT_EQ(game.state().nextpiece, 5.0f);
    EXPECT_TRUE(game.ui().Shape3[6].visible);  // piece 5: "0110" in mask rows 2 and 3
    EXPECT_TRUE(game.ui().Shape3[11].visible);
    EXPECT_FALSE(game.ui().Shape3[13].visible);
}

TEST_F(Restart, AsksTheQuestionAgain)
{
    EXPECT_EQ(game.front_end.asked(), 1);
    game.restart(answer_no);
    EXPECT_EQ(game.front_end.asked(), 2);
    EXPECT_EQ(game.state().difficulty, answer_no);
}

TEST_F(Restart, ThePortSaysWhichEventsTheGameTakesAndWhatAClickAsks)
{
    GamePort& port = game.form;
    const auto shown = [&] { return port.shown_button().value_or(ShownButton{}); };
    EXPECT_EQ(shown().name, "Command1");
    EXPECT_TRUE(shown().asks_question);
    // Gravity has stopped: its tick, and a click on the hidden Pause, are not taken.
    EXPECT_FALSE(port.tick(TimerId::timer1));
    EXPECT_FALSE(port.click("Pause"));
    EXPECT_FALSE(port.click("Command2"));
    // Pause, shown by P, stands above "Game Over" and only resumes.
    EXPECT_TRUE(port.key_down(key::p));
    EXPECT_EQ(shown().name, "Pause");
    EXPECT_FALSE(shown().asks_question);
    EXPECT_TRUE(port.click("Pause"));
    EXPECT_EQ(shown().name, "Command1");
    game.front_end.queue_answer(answer_no);
    EXPECT_TRUE(port.click("Command1"));
    EXPECT_EQ(game.front_end.asked(), 2);
    EXPECT_FALSE(port.shown_button().has_value());
    EXPECT_TRUE(port.tick(TimerId::timer2));
}

TEST_F(Restart, CountersStartAgainAndTheBestScoreIsKept)
{
    game.restart(answer_no);
    EXPECT_EQ(game.ui().hscorelabel.text, "HiScore:000120");
    EXPECT_EQ(game.ui().scorelabel.text, "Score:000000");
    EXPECT_EQ(game.ui().rowslabel.text, "Rows:000");
    EXPECT_EQ(game.ui().piecelabel.text, "Blocks:0000");
    EXPECT_EQ(game.state().hiscore, "000120");
    EXPECT_EQ(game.state().score.text(), "000000");
    EXPECT_EQ(game.state().rowcount, "000");
    EXPECT_EQ(game.state().blockcount, "0000");
}

TEST_F(Restart, TheWindowIsBuiltAfresh)
{
    game.restart(answer_no);
    EXPECT_EQ(game.visible_grid_sprites(), 64);
    EXPECT_FALSE(game.occupied(2, 1));
    EXPECT_EQ(game.grid(0, 5).pattern, 7);  // the wall's own look again
    EXPECT_EQ(game.grid(0, 5).fill, (Rgb{255, 0, 0}));
    EXPECT_FALSE(game.ui().Command1.visible);
    EXPECT_FALSE(game.ui().Pause.visible);
    EXPECT_TRUE(game.ui().shown);
    EXPECT_EQ(game.ui().Timer1.interval(), 0);
    EXPECT_EQ(game.ui().Timer2.interval(), 1);
    EXPECT_TRUE(game.ui().Timer2.enabled());
    EXPECT_EQ(game.ui().Timer3.interval(), 200);
    EXPECT_EQ(game.ui().covertop.place.top, -3437.0f);
    EXPECT_FALSE(game.ui().Shape3[6].visible);  // no preview until the next spawn
}

TEST_F(Restart, TheLastGamesPieceFieldsCarryOver)
{
    game.state().rotation = 3;  // as if turned after the game ended
    game.state().fallstep = 1.0f;
    game.restart(answer_no);
    EXPECT_EQ(game.state().piece, 3);
    EXPECT_EQ(game.state().nextpiece, 5.0f);
    EXPECT_EQ(game.state().rotation, 3);
    EXPECT_EQ(game.state().fallstep, 1.0f);
    EXPECT_EQ(game.state().row, -4.0f);
    EXPECT_EQ(game.state().col, 3);
}

TEST_F(Restart, TheOtherAnswerSwitchesTheLevelLabelAndThePieceSet)
{
    EXPECT_FALSE(game.ui().Level.visible);
    game.restart(answer_yes);
    EXPECT_EQ(game.state().difficulty, answer_yes);
    EXPECT_TRUE(game.ui().Level.visible);
    EXPECT_EQ(game.ui().Level.text, "Level 0");
    // Above 500 points hard mode draws from eight pieces: 0.99 x 8 gives piece 8.
    game.state().score = "000600";
    game.form.random.queue(0.99f);
    game.form.change();
    EXPECT_EQ(game.state().gamelevel, 1);
    EXPECT_EQ(game.ui().Level.text, "Level 1");
    EXPECT_EQ(game.state().nextpiece, 8.0f);

    // And back: normal mode hides the label and keeps to the seven four-cell pieces.
    game.ui().Command1.visible = true;
    game.restart(answer_no);
    EXPECT_FALSE(game.ui().Level.visible);
    game.state().score = "000600";
    game.form.random.queue(0.99f);
    game.form.change();
    EXPECT_EQ(game.state().nextpiece, 7.0f);
    EXPECT_EQ(game.ui().Level.text, "Level 0");
}

TEST_F(Restart, TheIntroThenRunsAtOneMillisecond)
{
    game.restart(answer_no);
    // Piece 3 in turn 1 carried over: turns 2 to 4, then pieces 4 to 7, 3 + 16 = 19 ticks.
    game.front_end.advance(19);
    EXPECT_EQ(game.state().piece, 7);
    EXPECT_EQ(game.state().rotation, 4);
    game.queue_randoms({0.0f, 0.0f});
    game.front_end.advance(1);
    EXPECT_EQ(game.ui().Timer1.interval(), 50);
    EXPECT_EQ(game.state().piece, 1);
}

// What the page's live region tells over two games: each button as it comes up, no best score
// in a first game, and in the next the best score once, where it first passes the last one.
TEST(PageNews, ButtonsAsTheyComeUpAndANewBestScoreOnceAGame)
{
    HeadlessGame game;
    web::News news;
    const FormControls design;
    const auto told = [&] { return news.of(*game.form.window(), game.form.shown_button(), design.view()); };
    game.start(answer_no, {0.3f, 0.3f, 0.6f});
    game.front_end.advance(66);
    EXPECT_EQ(told(), "");
    game.form.addscore();
    EXPECT_EQ(told(), "") << "a first game beats no best score";
    game.form.key_down(key_p);
    EXPECT_EQ(told(), "Pause");
    EXPECT_EQ(told(), "") << "a button is told once";
    game.form.Pause_Click();
    EXPECT_EQ(told(), "");
    game.lose_on_first_step();
    game.front_end.advance(50);
    EXPECT_EQ(told(), "Game Over");
    ASSERT_EQ(game.state().hiscore, "000020");

    game.restart(answer_no);
    EXPECT_EQ(told(), "");
    game.form.addscore();
    game.form.addscore();
    EXPECT_EQ(told(), "") << "the best score equalled, not beaten";
    game.form.addscore();
    EXPECT_EQ(told(), "HiScore:000030");
    game.form.addscore();
    EXPECT_EQ(told(), "") << "the best score told again";
}

}  // namespace
}  // namespace vorbix
