// The falling piece: gravity steps in single precision, the drawing of its cells and the
// landing check made after every step.
#include "tests/support/headless_game.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

namespace vorbix::testing {
namespace {

using Cell = std::pair<int, int>;  // board row, board column

class Falling : public ::testing::Test {
protected:
    void SetUp() override { game.start(); }

    HeadlessGame game;
};

TEST_F(Falling, StepsOfPointThreeAddUpInSinglePrecision)
{
    place_piece(game.state(), {3, 1, -4.0f, 3, 0.3f});
    // -3.7, -3.4, -3.1, -2.8, -2.5, -2.2, -1.9, -1.6, -1.3, just below -1, then -0.7.
    const std::vector<int> whole_rows = {-4, -4, -4, -3, -3, -3, -2, -2, -2, -2, -1};
    std::vector<int> seen;
    for (std::size_t step = 1; step <= whole_rows.size(); ++step) {
        game.form.drop();
        seen.push_back(whole_part(game.state().row));
        if (step == 10) {
            EXPECT_EQ(game.state().row, -1.0000005f);
        }
        EXPECT_EQ(game.state().landed, game_false) << "step " << step;
    }
    EXPECT_EQ(seen, whole_rows);
}

TEST_F(Falling, DrawsEachFilledCellAtItsPlace)
{
    struct Sprite {
        int k;
        float left;
        float top;
    };
    struct Case {
        const char* name;
        float row;
        int col;
        std::vector<Sprite> drawn;
    };
    // Piece 1 fills box cells (3,3), (4,1), (4,2), (4,3): sprites 11, 13, 14, 15.
    // Left = column * 292 + 50, top = row * 292 + 50, each operation in single precision.
    const Case cases[] = {
        {"inside the well", 2.5f, 2, {{11, 1510, 1656}, {13, 926, 1948}, {14, 1218, 1948}, {15, 1510, 1948}}},
        {"partly above the window", -3.5f, 0, {{11, 926, -96}, {13, 342, 196}, {14, 634, 196}, {15, 926, 196}}},
        // -3.7 + 4 is 0.29999995; the top would be 137.59999 if worked out in double precision.
        {"one step below the spawn row", -3.7f, 3, {{11, 1802, -154.40001f}, {13, 1218, 137.59998f}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        place_piece(game.state(), {1, 1, c.row, c.col});
        game.form.drop();
        EXPECT_EQ(visible_elements(game.ui().Shape1), (std::set<int>{11, 13, 14, 15}));
        for (const Sprite& s : c.drawn) {
            SCOPED_TRACE(s.k);
            EXPECT_EQ(game.ui().Shape1[s.k].place, (Rect{s.left, s.top, 292, 292}));
        }
    }
}

TEST_F(Falling, ACellEmptyInTheNewTurnIsHidden)
{
    place_piece(game.state(), {3, 1, 5.0f, 3});
    game.form.drop();
    ASSERT_EQ(visible_elements(game.ui().Shape1), (std::set<int>{13, 14, 15, 16}));
    // A turn changes only the rotation; the next step redraws the bar upright in column 1.
    game.state().rotation = 2;
    game.form.drop();
    EXPECT_EQ(visible_elements(game.ui().Shape1), (std::set<int>{1, 5, 9, 13}));
}

TEST_F(Falling, PieceZeroDrawsNothingAndNeverLands)
{
    for (int k = 1; k <= 16; ++k) game.ui().Shape1[k].visible = true;
    game.lose_on_first_step();
    place_piece(game.state(), {0, 1, -4.0f, 3, 0.3f});
    game.form.drop();
    EXPECT_TRUE(visible_elements(game.ui().Shape1).empty());
    EXPECT_EQ(game.state().landed, game_false);
}

TEST(FallingLanding, IsCheckedUnderEveryDrawnCell)
{
    struct Case {
        const char* name;
        Placement at;
        std::vector<Cell> occupied;
        bool landed;
    };
    const Case cases[] = {
        // Piece 3 lies in box row 4, board columns col + 1 to col + 4.
        {"a step of 0 redraws in place, nothing below", {3, 1, 5.0f, 3}, {}, false},
        {"a step of 0 still checks the cell below", {3, 1, 5.0f, 3}, {{10, 6}}, true},
        {"resting on a cell after a step", {3, 1, 4.5f, 3, 0.5f}, {{10, 7}}, true},
        {"between rows 8 and 9, resting on row 9", {3, 1, 4.25f, 3, 0.5f}, {{9, 4}}, true},
        {"between rows 8 and 9, row 10 is not tested", {3, 1, 4.25f, 3, 0.5f}, {{10, 4}}, false},
        {"just above the whole row 20 of an empty board", {3, 1, 15.99f, 3}, {}, false},
        {"on the floor once a cell's whole row is 20", {3, 1, 16.0f, 3}, {}, true},
        // Piece 1 half turned fills only box rows 1 and 2: its empty lower rows pass the floor.
        {"empty box rows below the floor do not land", {1, 3, 17.5f, 3}, {}, false},
        {"the lowest filled row lands on the floor", {1, 3, 18.0f, 3}, {}, true},
        // Cells in the top wall row or above it test row 2, column 1 instead.
        {"first step after spawning onto an occupied row 2, column 1", {3, 1, -4.0f, 3, 0.3f}, {{2, 1}}, true},
        {"the same far from column 1", {3, 1, -4.0f, 6, 0.3f}, {{2, 1}}, true},
        {"first step after spawning onto an empty board", {3, 1, -4.0f, 3, 0.3f}, {}, false},
        {"a cell in the top wall row ignores the cell below it",
         {3, 1, -4.0f, 6},
         {{1, 7}, {1, 8}, {1, 9}, {1, 10}},
         false},
        {"a cell in row 1 tests the cell below it", {3, 1, -3.0f, 3}, {{2, 5}}, true},
        {"a cell in row 1 does not test row 2, column 1", {3, 1, -3.0f, 3}, {{2, 1}}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HeadlessGame game;
        game.start();
        for (const Cell& cell : c.occupied) game.set_occupied(cell.first, cell.second);
        place_piece(game.state(), c.at);
        game.state().landed = game_true;
        game.form.drop();
        EXPECT_EQ(game.state().landed, c.landed ? game_true : game_false);
        EXPECT_EQ(game.state().row, c.at.row + c.at.fallstep);
        // The step is never taken back: the piece stays drawn where the step put it.
        EXPECT_EQ(visible_elements(game.ui().Shape1).size(), 4u);
    }
}

TEST_F(Falling, TheBarFromItsSpawnLandsOnTheFloorAfterSixtySevenSteps)
{
    place_piece(game.state(), {3, 1, -4.0f, 3, 0.3f});
    int steps = 0;
    do {
        game.form.drop();
        ++steps;
    } while (game.state().landed == game_false && steps < 100);
    // Its cells need a whole row of 20: -4 + 0.3 * n >= 16 first holds for n = 67.
    EXPECT_EQ(steps, 67);
    EXPECT_EQ(whole_part(game.state().row), 16);
}

}  // namespace
}  // namespace vorbix::testing
