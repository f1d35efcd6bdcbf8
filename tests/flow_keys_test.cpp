// The keyboard and pause: the key table, the turn wrap-around, the fast drop's bonus, keys
// while paused, and the Pause button that resumes exactly the ticks that ran before.
#include "support/headless_game.h"
#include "support/key_codes.h"

#include <gtest/gtest.h>

#include <vector>

namespace vorbix {
namespace {

using testing::HeadlessGame;

// A game in play: the bar (piece 3) spawned and not yet moved, at row -4, column 3.
class Keys : public ::testing::Test {
protected:
    void SetUp() override
    {
        game.start(answer_no, {0.3f, 0.3f, 0.3f, 0.3f});
        game.front_end.advance(66);
        ASSERT_EQ(game.state().piece, 3);
    }

    // Lets the bar fall clear of the top so that every turn is free (row -0.7).
    void fall_clear() { game.front_end.tick(TimerId::timer1, 11); }

    void press(int key) { game.form.Form_KeyDown(key, 0); }

    struct Snapshot {
        int col, rotation;
        float row, fallstep;
        bool score_is_text;
        std::string score_text;
        bool pause_visible;
        std::vector<std::string_view> order;
        bool e1, e2, e3;
        friend bool operator==(const Snapshot&, const Snapshot&) = default;
    };

    Snapshot snapshot()
    {
        const GameState& s = game.state();
        return {s.col,
                s.rotation,
                s.row,
                s.fallstep,
                s.score.is_text(),
                s.score.is_text() ? s.score.text() : "",
                game.ui().Pause.visible,
                game.ui().widget_order,
                game.ui().Timer1.enabled(),
                game.ui().Timer2.enabled(),
                game.ui().Timer3.enabled()};
    }

    HeadlessGame game;
};

TEST_F(Keys, TheKeyTable)
{
    fall_clear();
    press(key_left);
    EXPECT_EQ(game.state().col, 2);
    press(key_right);
    press(key_right);
    EXPECT_EQ(game.state().col, 4);
    press(key_a);
    EXPECT_EQ(game.state().rotation, 2);
    press(key_s);
    press(key_s);
    EXPECT_EQ(game.state().rotation, 4);
    EXPECT_EQ(game.state().lastvalue, 1);  // the turn before the last one
    press(key_down);
    EXPECT_EQ(game.state().fallstep, 1.0f);
    press(key_p);
    EXPECT_TRUE(game.ui().Pause.visible);
}

TEST_F(Keys, UpAndUnknownKeysDoNothing)
{
    fall_clear();
    const Snapshot before = snapshot();
    for (const int key : {key_up, 0, 32, 48, 66, 97, 112, 1000, 65535}) {
        press(key);
        EXPECT_EQ(snapshot(), before) << "key " << key;
    }
}

TEST_F(Keys, TurnsWrapAround)
{
    fall_clear();
    press(key_s);  // 1 wraps to 4
    EXPECT_EQ(game.state().rotation, 4);
    press(key_a);  // A after S returns
    EXPECT_EQ(game.state().rotation, 1);
    for (const int expected : {2, 3, 4, 1}) {
        press(key_a);
        EXPECT_EQ(game.state().rotation, expected);
    }
    for (const int expected : {4, 3, 2, 1}) {
        press(key_s);
        EXPECT_EQ(game.state().rotation, expected);
    }
}

TEST_F(Keys, ARefusedTurnLeavesTheRotation)
{
    // At row -4 the upright bar would reach above the board.
    press(key_a);
    EXPECT_EQ(game.state().rotation, 1);
    press(key_s);
    EXPECT_EQ(game.state().rotation, 1);
}

TEST_F(Keys, DownGivesItsBonusOncePerPiece)
{
    press(key_down);
    ASSERT_FALSE(game.state().score.is_text());
    EXPECT_EQ(game.state().score.number(), 5.0);
    EXPECT_EQ(game.ui().scorelabel.text, "Score:000000");
    EXPECT_EQ(game.state().fallstep, 1.0f);
    press(key_down);
    EXPECT_EQ(game.state().score.number(), 5.0);
    // The next piece earns it again, from the number the score then holds.
    game.front_end.tick(TimerId::timer1, 20);  // lands on the floor: 5 + 10
    ASSERT_EQ(game.state().row, -4.0f);
    EXPECT_EQ(game.state().score.text(), "000015");
    press(key_down);
    EXPECT_EQ(game.state().score.number(), 20.0);
}

TEST_F(Keys, NoBonusUnlessTheStepIsExactlyTheSpawnValue)
{
    for (const float step : {0.0f, 0.29999998f, 0.30000004f, 1.0f}) {
        game.state().fallstep = step;
        game.state().score = "000000";
        press(key_down);
        ASSERT_TRUE(game.state().score.is_text()) << step;
        EXPECT_EQ(game.state().score.text(), "000000") << step;
        EXPECT_EQ(game.state().fallstep, 1.0f);
    }
}

TEST_F(Keys, KeysWhilePausedAreApplied)
{
    fall_clear();
    press(key_p);
    press(key_left);
    EXPECT_EQ(game.state().col, 2);
    press(key_right);
    press(key_right);
    EXPECT_EQ(game.state().col, 4);
    press(key_a);
    EXPECT_EQ(game.state().rotation, 2);
    press(key_s);
    EXPECT_EQ(game.state().rotation, 1);
    press(key_down);
    EXPECT_EQ(game.state().fallstep, 1.0f);
    EXPECT_EQ(game.state().score.number(), 5.0);
    // Still tested: the bar at column 4 covers columns 5 to 8; three more to the right meet
    // the wall on the third.
    for (int i = 0; i < 3; ++i) press(key_right);
    EXPECT_EQ(game.state().col, 6);
    // Nothing is drawn while paused; the next gravity step after resuming shows it.
    game.form.Pause_Click();
    game.front_end.advance(50);
    EXPECT_EQ(game.ui().Shape1[13].place.left, 7 * 292 + 50);
}

TEST_F(Keys, PauseShowsTheButtonAboveTheCurtainAndStopsAllTimers)
{
    press(key_p);
    EXPECT_TRUE(game.ui().Pause.visible);
    ASSERT_FALSE(game.ui().widget_order.empty());
    EXPECT_EQ(game.ui().widget_order.back(), "Pause");
    EXPECT_EQ(game.ui().widget_order.size(), 4u);
    EXPECT_FALSE(game.ui().Timer1.enabled());
    EXPECT_FALSE(game.ui().Timer2.enabled());
    EXPECT_FALSE(game.ui().Timer3.enabled());
    const float row = game.state().row;
    const float curtain = game.ui().coverbottom.place.top;
    game.front_end.advance(10'000);
    EXPECT_EQ(game.state().row, row);
    EXPECT_EQ(game.ui().coverbottom.place.top, curtain);
}

TEST_F(Keys, PWhilePausedChangesNothing)
{
    press(key_p);
    const Snapshot paused = snapshot();
    press(key_p);
    EXPECT_EQ(snapshot(), paused);
    game.form.Pause_Click();
    EXPECT_FALSE(game.ui().Pause.visible);
    EXPECT_TRUE(game.ui().Timer1.enabled());
    EXPECT_TRUE(game.ui().Timer2.enabled());
    EXPECT_TRUE(game.ui().Timer3.enabled());
}

TEST_F(Keys, ResumingRestoresGravityCountedFromTheClick)
{
    game.front_end.advance(20);  // t = 86
    press(key_p);
    game.front_end.advance(1000);
    EXPECT_EQ(game.state().row, -4.0f);
    game.form.Pause_Click();  // t = 1086
    game.front_end.advance(49);
    EXPECT_EQ(game.state().row, -4.0f);
    game.front_end.advance(1);
    EXPECT_EQ(game.state().row, -3.7f);
    EXPECT_EQ(game.ui().Timer2.interval(), 0);
}

TEST_F(Keys, ResumingAnOpenCurtainGivesNoCurtainTicks)
{
    game.front_end.advance(3000);  // the curtain opened after 14 ticks
    ASSERT_EQ(game.ui().Timer3.interval(), 0);
    const float top = game.ui().covertop.place.top;
    press(key_p);
    game.form.Pause_Click();
    game.front_end.advance(1000);
    EXPECT_EQ(game.ui().covertop.place.top, top);
    EXPECT_EQ(game.ui().Timer3.interval(), 0);
}

TEST_F(Keys, ResumingAfterGameOverGivesNoGravityTicks)
{
    game.lose_on_first_step();
    game.front_end.advance(50);
    ASSERT_TRUE(game.ui().Command1.visible);
    press(key_p);
    game.form.Pause_Click();
    game.front_end.advance(1000);
    EXPECT_EQ(game.state().row, -4.0f);
    EXPECT_EQ(game.state().blockcount, "0001");
    EXPECT_EQ(game.ui().Timer1.interval(), 0);
}

}  // namespace
}  // namespace vorbix
