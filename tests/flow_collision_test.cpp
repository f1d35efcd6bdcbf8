// The collision test behind every sideways move and turn: the walls, settled cells, the rows
// above the board, and how long a freshly spawned piece waits before it can move.
#include "support/headless_game.h"
#include "support/key_codes.h"

#include <gtest/gtest.h>

namespace vorbix {
namespace {

using testing::HeadlessGame;
using testing::Placement;

class Collision : public ::testing::Test {
protected:
    void SetUp() override { game.start(); }

    // Places the piece and runs the test the keys run.
    int verified_at(const Placement& at)
    {
        place_piece(game.state(), at);
        game.form.verified();
        return game.state().collided;
    }

    HeadlessGame game;
};

TEST_F(Collision, PlacementsAgainstWallsTopAndFloor)
{
    struct Case {
        const char* name;
        Placement at;
        bool collides;
    };
    const Case table[] = {
        // The bar (piece 3, turn 1) fills box row 4: board row floor(row) + 4, columns col + 1..4.
        {"bar against the left wall", {3, 1, 5.0f, 0}, false},
        {"bar into the left wall", {3, 1, 5.0f, -1}, true},
        {"bar against the right wall", {3, 1, 5.0f, 6}, false},
        {"bar into the right wall", {3, 1, 5.0f, 7}, true},
        {"upright bar into the right wall", {3, 2, 5.0f, 10}, true},
        {"upright bar beside the right wall", {3, 2, 5.0f, 9}, false},
        // Tested row floor(row) + 4 + 1.
        {"bar testing row 1", {3, 1, -4.0f, 3}, false},
        {"bar testing the top wall row", {3, 1, -5.0f, 3}, true},
        {"bar testing a row above the board", {3, 1, -6.0f, 3}, true},
        {"bar testing far above the board", {3, 1, -40.0f, 3}, true},
        {"bar resting just above the floor", {3, 1, 15.0f, 3}, false},
        {"bar testing the floor row", {3, 1, 16.0f, 3}, true},
        {"bar testing below the floor", {3, 1, 17.0f, 3}, true},
        // Piece 1 in turn 3 fills only box rows 1 and 2; its empty box row 4 tests row 22.
        {"empty box cells below the floor", {1, 3, 17.0f, 3}, false},
        {"a fractional row tests the lower row it overlaps", {3, 1, 15.9f, 3}, false},
        {"a fractional row just past the floor row", {3, 1, 16.1f, 3}, true},
    };
    for (const Case& c : table) EXPECT_EQ(verified_at(c.at), c.collides ? game_true : game_false) << c.name;
}

TEST_F(Collision, TheTestLeavesItsLoopCountersAtFive)
{
    verified_at({3, 1, 5.0f, 3});
    EXPECT_EQ(game.state().outer, 5);
    EXPECT_EQ(game.state().inner, 5);
}

TEST_F(Collision, AFoundCollisionIsNotClearedByLaterFreeCells)
{
    // Only the first filled cell of the bar (column 1) meets a settled cell.
    game.set_occupied(10, 1);
    EXPECT_EQ(verified_at({3, 1, 5.0f, 0}), game_true);
    game.set_occupied(10, 1, false);
    game.set_occupied(10, 4);
    EXPECT_EQ(verified_at({3, 1, 5.0f, 0}), game_true);
}

TEST_F(Collision, NumberZeroTestsTheHiddenTemplate)
{
    // A one-cell mask in box cell (1,1): tested row floor(row) + 2, board column col + 1.
    game.state().pieces[0][1] = "1000";
    EXPECT_EQ(verified_at({0, 1, -3.0f, 10}), game_false);  // row -1, column 11: number 0
    EXPECT_EQ(verified_at({0, 1, -3.0f, 9}), game_true);    // number -1: the corner wall
    EXPECT_EQ(verified_at({0, 1, -2.0f, 10}), game_true);   // row 0, column 11: a wall
    EXPECT_EQ(verified_at({0, 1, -1.0f, 5}), game_false);   // row 1, column 6: free
}

TEST_F(Collision, PieceZeroNeverCollides)
{
    for (int rotation = 1; rotation <= 4; ++rotation) {
        for (const float row : {-40.0f, -5.0f, 0.0f, 16.0f, 30.0f}) {
            for (const int col : {-5, 0, 7, 20}) {
                EXPECT_EQ(verified_at({0, rotation, row, col}), game_false)
                    << "rotation " << rotation << " row " << row << " col " << col;
            }
        }
    }
}

TEST_F(Collision, AWholeRowTestsTheCellBelowAMovedCell)
{
    // The bar lies in board row 14 (row 10, box row 4); a settled cell at row 15, column 3.
    game.set_occupied(15, 3);
    EXPECT_EQ(verified_at({3, 1, 10.0f, 3}), game_false);
    game.form.Form_KeyDown(key_left, 0);
    EXPECT_EQ(game.state().col, 3);
    EXPECT_EQ(game.state().collided, game_true);
    game.set_occupied(15, 3, false);
    game.form.Form_KeyDown(key_left, 0);
    EXPECT_EQ(game.state().col, 2);
    EXPECT_EQ(game.state().collided, game_false);
}

TEST_F(Collision, ATurnWithEmptyBoxCellsInsideTheWallIsAccepted)
{
    // Piece 1 in turn 3 fills box cells (1,2), (1,3), (1,4), (2,2); with col -1 its empty box
    // column 1 lies in the left wall. Turn 4 fills (2,3), (2,4), (3,4), (4,4): columns 2 and 3.
    EXPECT_EQ(verified_at({1, 3, 10.0f, -1}), game_false);
    game.form.Form_KeyDown(key_a, 0);
    EXPECT_EQ(game.state().rotation, 4);
    // Turn 2 fills box column 1, inside the wall: refused.
    game.state().rotation = 3;
    game.form.Form_KeyDown(key_s, 0);
    EXPECT_EQ(game.state().rotation, 3);
}

// Starts a game whose first piece is the given one and lets the intro finish.
void start_with(HeadlessGame& game, int piece)
{
    game.start(answer_no, {(static_cast<float>(piece) - 0.5f) / 7.0f, 0.0f});
    game.front_end.advance(66);
}

// Right after spawning (row -4) a filled cell in box row b is refused while floor(row) < -b.
TEST(SpawnWait, UntilTheFilledRowsAreInside)
{
    struct Case {
        const char* name;
        int piece;
        bool fast;    // Down pressed first
        int key;      // the move or turn tried before every step
        int refused;  // gravity steps while it is refused
        int presses;  // once taken, how often it is pressed
        int col;      // after those presses
        int rotation;
    };
    const Case cases[] = {
        {"piece 1, filled in box row 3: four steps", 1, false, key_right, 4, 1, 4, 1},
        {"piece 4, filled in box row 3: four steps", 4, false, key_right, 4, 1, 4, 1},
        {"box row 3 waits one fast step", 1, true, key_left, 1, 1, 2, 1},
        {"the square, filled from box row 2: seven steps", 5, false, key_left, 7, 1, 2, 1},
        // Turn 2 stands the bar upright in box column 1, rows 1 to 4: ten steps leave it just
        // below -1; turn 3 then lays it in box row 1, taken too.
        {"the upright bar, from box row 1: eleven steps", 3, false, key_a, 11, 2, 3, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HeadlessGame game;
        start_with(game, c.piece);
        ASSERT_EQ(game.state().piece, c.piece);
        if (c.fast) game.form.Form_KeyDown(key_down, 0);
        for (int step = 0; step < c.refused; ++step) {
            game.form.Form_KeyDown(c.key, 0);
            EXPECT_EQ(game.state().col, 3) << "step " << step;
            EXPECT_EQ(game.state().rotation, 1) << "step " << step;
            game.front_end.tick(TimerId::timer1);
        }
        for (int press = 0; press < c.presses; ++press) game.form.Form_KeyDown(c.key, 0);
        EXPECT_EQ(game.state().col, c.col);
        EXPECT_EQ(game.state().rotation, c.rotation);
    }
}

TEST(SpawnWait, TheBarMovesAtOnce)
{
    HeadlessGame game;
    start_with(game, 3);
    for (int i = 0; i < 3; ++i) game.form.Form_KeyDown(key_left, 0);
    EXPECT_EQ(game.state().col, 0);
    game.form.Form_KeyDown(key_left, 0);
    EXPECT_EQ(game.state().col, 0);
    EXPECT_EQ(game.state().collided, game_true);
}

}  // namespace
}  // namespace vorbix
