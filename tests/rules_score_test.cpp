// The score: ten points a call, six digits wrapping at a million, and the best score of the
// run raised only when beaten.
#include "tests/support/headless_game.h"

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
        int calls;
        std::string score_after;
        std::string hiscore_after;
    };
    const Case cases[] = {
        {"first points of the run", "000000", "", 1, "000010", "000010"},
        {"the fast-drop bonus held as a number", 15.0, "000010", 1, "000025", "000025"},
        {"reaching the best score does not replace it", "000490", "000500", 1, "000500", "000500"},
        {"passing it does", "000500", "000500", 1, "000510", "000510"},
        {"reached, then passed", "000490", "000500", 2, "000510", "000510"},
        {"below the best score of an earlier game", "000100", "004200", 1, "000110", "004200"},
        {"ten calls make a row's hundred points", "000950", "001000", 10, "001050", "001050"},
        {"wraps at a million, the best score keeps its digits", "999990", "999990", 1, "000000", "999990"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HeadlessGame game;
        game.start();
        game.state().score = c.score;
        game.state().hiscore = c.hiscore;
        for (int call = 0; call < c.calls; ++call) game.form.addscore();
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

}  // namespace
}  // namespace vorbix::testing
