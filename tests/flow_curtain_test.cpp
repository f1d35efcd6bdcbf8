// The curtain: two black halves close over the window at each load and slide apart, 250
// twips a tick every 200 ms, until both have left the window.
#include "support/headless_game.h"
#include "support/key_codes.h"

#include <gtest/gtest.h>

namespace vorbix {
namespace {

using testing::HeadlessGame;

TEST(Curtain, CoverClosesBothHalvesOverTheWholeWindow)
{
    HeadlessGame game;
    game.start();
    const FormControls& ui = game.ui();
    // Outer size 6424 x 6874 with cell size 292.
    EXPECT_EQ(ui.covertop.place, (Rect{0, -3437, 6424, 6874}));
    EXPECT_EQ(ui.coverbottom.place, (Rect{0, 3437, 6424, 6874}));
    EXPECT_TRUE(ui.covertop.visible);
    EXPECT_TRUE(ui.coverbottom.visible);
    EXPECT_EQ(ui.covertop.child_width, 6424.0f);
    EXPECT_EQ(ui.covertop.child_height, 6874.0f);
    EXPECT_EQ(ui.coverbottom.child_width, 6424.0f);
    EXPECT_EQ(ui.coverbottom.child_height, 6874.0f);
    ASSERT_EQ(ui.widget_order.size(), 4u);
    EXPECT_EQ(ui.widget_order[2], "covertop");
    EXPECT_EQ(ui.widget_order[3], "coverbottom");
}

TEST(Curtain, OpensInFourteenTicksWithTheDesignedWindow)
{
    HeadlessGame game;
    game.start();
    for (int tick = 1; tick <= 13; ++tick) {
        game.front_end.tick(TimerId::timer3);
        EXPECT_EQ(game.ui().covertop.place.top, -3437.0f - 250.0f * tick) << tick;
        EXPECT_EQ(game.ui().coverbottom.place.top, 3437.0f + 250.0f * tick) << tick;
        EXPECT_EQ(game.ui().Timer3.interval(), 200) << tick;
    }
    game.front_end.tick(TimerId::timer3);  // 3437 + 3500 = 6937 > 6874
    EXPECT_EQ(game.ui().coverbottom.place.top, 6937.0f);
    EXPECT_EQ(game.ui().covertop.place.top, -6937.0f);
    EXPECT_EQ(game.ui().Timer3.interval(), 0);
    // The halves stay where they are, shown.
    game.front_end.tick(TimerId::timer3, 5);
    EXPECT_EQ(game.ui().coverbottom.place.top, 6937.0f);
    EXPECT_TRUE(game.ui().coverbottom.visible);
}

TEST(Curtain, ATallerWindowOpensOnTheFifteenthTickAfterThreeSeconds)
{
    HeadlessGame game;
    game.start();
    game.ui().outer_height = 7000;
    game.form.cover();
    EXPECT_EQ(game.ui().coverbottom.place.top, 3500.0f);
    game.front_end.advance(2999);  // 14 ticks: 3500 + 3500 = 7000, not above 7000
    EXPECT_EQ(game.ui().coverbottom.place.top, 7000.0f);
    EXPECT_EQ(game.ui().Timer3.interval(), 200);
    game.front_end.advance(1);
    EXPECT_EQ(game.ui().coverbottom.place.top, 7250.0f);
    EXPECT_EQ(game.ui().covertop.place.top + game.ui().covertop.place.height, -250.0f);
    EXPECT_EQ(game.ui().Timer3.interval(), 0);
}

TEST(Curtain, APauseHoldsBothHalvesAndTheOpeningGoesOn)
{
    HeadlessGame game;
    game.start();
    game.front_end.advance(500);  // two ticks
    game.form.Form_KeyDown(key_p, 0);
    game.front_end.advance(5000);
    EXPECT_EQ(game.ui().covertop.place.top, -3937.0f);
    EXPECT_EQ(game.ui().coverbottom.place.top, 3937.0f);
    game.form.Pause_Click();  // t = 5500: the next tick 200 ms later
    game.front_end.advance(199);
    EXPECT_EQ(game.ui().coverbottom.place.top, 3937.0f);
    game.front_end.advance(1);
    EXPECT_EQ(game.ui().coverbottom.place.top, 4187.0f);
    game.front_end.advance(2000);  // thirteen ticks in all
    EXPECT_EQ(game.ui().Timer3.interval(), 200);
    game.front_end.advance(200);
    EXPECT_EQ(game.ui().Timer3.interval(), 0);
    EXPECT_EQ(game.ui().coverbottom.place.top, 6937.0f);
}

TEST(Curtain, TheGameStartsWhileTheCurtainIsStillOpening)
{
    HeadlessGame game;
    game.start(answer_no, {0.5f, 0.1f});
    game.front_end.advance(150);  // begin at 66, the first gravity step at 116
    EXPECT_EQ(game.ui().Timer1.interval(), 50);
    EXPECT_EQ(game.state().row, -3.7f);
    EXPECT_EQ(game.ui().coverbottom.place.top, 3437.0f);
    EXPECT_EQ(game.ui().Timer3.interval(), 200);
    game.front_end.advance(50);  // t = 200: the first curtain tick
    EXPECT_EQ(game.ui().coverbottom.place.top, 3687.0f);
}

// A front end that lets the curtain timer tick while the start-up question is open.
class CurtainTicksDuringQuestion : public HeadlessFrontEnd {
public:
    Form1* form = nullptr;
    int ask(const std::string& text, const std::string& title) override
    {
        // Enough ticks that, had they counted, the lower half would have passed the window's
        // designed height (6375) and stopped the curtain timer before the curtain closed.
        for (int tick = 0; tick < 20; ++tick) form->Timer3_Timer();
        return HeadlessFrontEnd::ask(text, title);
    }
};

TEST(Curtain, TicksBeforeCoverChangeNothing)
{
    CurtainTicksDuringQuestion front_end;
    Form1 form(front_end);
    front_end.form = &form;
    front_end.queue_answer(answer_no);
    form.start();
    EXPECT_EQ(form.controls->covertop.place.top, -3437.0f);
    EXPECT_EQ(form.controls->coverbottom.place.top, 3437.0f);
    EXPECT_EQ(form.controls->Timer3.interval(), 200);

    // The same for the window of a restart.
    front_end.queue_answer(answer_no);
    form.Command1_Click();
    EXPECT_EQ(form.controls->coverbottom.place.top, 3437.0f);
    EXPECT_EQ(form.controls->Timer3.interval(), 200);
}

TEST(Curtain, ATickOnADesignedWindowLeavesTheHalvesAsDesigned)
{
    HeadlessGame game;
    game.form.controls = std::make_unique<FormControls>();
    game.form.Timer3_Timer();
    EXPECT_EQ(game.ui().covertop.place, (Rect{2880, 960, 615, 735}));
    EXPECT_EQ(game.ui().coverbottom.place, (Rect{2880, 2520, 615, 615}));
    EXPECT_EQ(game.ui().Timer3.interval(), 200);
}

}  // namespace
}  // namespace vorbix
