// The score: ten points a call, six digits wrapping at a million, and the best score of the
// run raised only when beaten.
#include "tests/support/board_helpers.h"

#include <gtest/gtest.h>

#include <string>

namespace vorbix::testing {
namespace {

TEST(Score, AddsTenPointsAndKeepsTheBestScore)
{
    struct Case {
        const char* name;
        TextOrNumber score;
        std::string hiscore;
        std::string score_after;
        std::string hiscore_after;
    };
    const Case cases[] = {
        {"first points of the run", "000000", "", "000010", "000010"},
        {"the fast-drop bonus held as a number", 15.0, "000010", "000025", "000025"},
        {"reaching the best score does not replace it", "000490", "000500", "000500", "000500"},
        {"passing it does", "000500", "000500", "000510", "000510"},
        {"below the best score of an earlier game", "000100", "004200", "000110", "004200"},
        {"wraps at a million, the best score keeps its digits", "999990", "999990", "000000", "999990"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HeadlessGame game;
        game.start();
        game.state().score = c.score;
        game.state().hiscore = c.hiscore;
        game.form.addscore();
        EXPECT_EQ(game.state().score, TextOrNumber(c.score_after));
        EXPECT_EQ(game.state().hiscore, c.hiscore_after);
        EXPECT_EQ(game.ui().scorelabel.text, "Score:" + c.score_after);
        // Rewritten on every call, changed or not.
        EXPECT_EQ(game.ui().hscorelabel.text, "HiScore:" + c.hiscore_after);
    }
}

TEST(Score, TheFastDropBonusShowsWithTheNextLanding)
{
    HeadlessGame game;
    game.start();
    game.form.addscore();
    ASSERT_EQ(game.ui().scorelabel.text, "Score:000010");

    // The Down key adds 5 to the number and leaves the label alone.
    game.state().score = 15.0;
    EXPECT_EQ(game.ui().scorelabel.text, "Score:000010");
    game.form.addscore();
    EXPECT_EQ(game.state().score, TextOrNumber("000025"));
    EXPECT_EQ(game.ui().scorelabel.text, "Score:000025");
    EXPECT_EQ(game.ui().hscorelabel.text, "HiScore:000025");
}

TEST(Score, ABestScoreReachedThenPassed)
{
    HeadlessGame game;
    game.start();
    game.state().score = "000490";
    game.state().hiscore = "000500";
    game.form.addscore();
    EXPECT_EQ(game.state().hiscore, "000500");
    game.form.addscore();
    EXPECT_EQ(game.state().score, TextOrNumber("000510"));
    EXPECT_EQ(game.state().hiscore, "000510");
    EXPECT_EQ(game.ui().scorelabel.text, "Score:000510");
    EXPECT_EQ(game.ui().hscorelabel.text, "HiScore:000510");
}

TEST(Score, TenCallsMakeARowsHundredPoints)
{
    HeadlessGame game;
    game.start();
    game.state().score = "000950";
    game.state().hiscore = "001000";
    for (int call = 1; call <= 10; ++call) game.form.addscore();
    EXPECT_EQ(game.state().score, TextOrNumber("001050"));
    EXPECT_EQ(game.state().hiscore, "001050");
}

}  // namespace
}  // namespace vorbix::testing
