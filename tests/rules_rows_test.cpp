// Row clearing: full rows go one at a time, topmost first, the rows above moving down with
// their colours; each row is worth 100 points and one more on the rows counter.
#include "tests/support/game_watch.h"
#include "tests/support/headless_game.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace vorbix::testing {
namespace {

const std::string full = "##########";
const std::string empty = "..........";

// Board rows 1..20 by their content; rows not listed are empty.
using Board = std::map<int, std::string>;

void lay_out(HeadlessGame& game, const Board& board)
{
    for (const auto& [row, text] : board) {
        for (int column = 1; column <= 10; ++column) game.set_occupied(row, column, text[column - 1] == '#');
    }
}

void expect_board(HeadlessGame& game, const Board& board)
{
    for (int row = 1; row <= 20; ++row) {
        const auto listed = board.find(row);
        EXPECT_EQ(game.row_text(row), listed == board.end() ? empty : listed->second) << "row " << row;
    }
}

TEST(RowClearing, FullRowsAreRemovedAndScored)
{
    struct Case {
        const char* name;
        Board before;
        Board after;
        const char* score;
        const char* rowcount;
    };
    const Case cases[] = {
        {"no full row: nothing changes, not even the floor goes",
         {{19, "#.#.#.#.#."}, {20, "#########."}},
         {{19, "#.#.#.#.#."}, {20, "#########."}},
         "000000",
         "000"},
        {"one full row at the bottom",
         {{18, "#........."}, {19, "..#......."}, {20, full}},
         {{19, "#........."}, {20, "..#......."}},
         "000100",
         "001"},
        {"one full row in the middle: the rows below stay",
         {{5, "#........."}, {9, "...#......"}, {10, full}, {11, ".#........"}, {20, "#########."}},
         {{6, "#........."}, {10, "...#......"}, {11, ".#........"}, {20, "#########."}},
         "000100",
         "001"},
        {"four full rows at the bottom earn no bonus",
         {{15, ".##......."}, {16, "#...#....."}, {17, full}, {18, full}, {19, full}, {20, full}},
         {{19, ".##......."}, {20, "#...#....."}},
         "000400",
         "004"},
        {"rows 18 and 20 full: row 19 ends in row 20",
         {{17, ".........#"}, {18, full}, {19, "#.#.#....."}, {20, full}},
         {{19, ".........#"}, {20, "#.#.#....."}},
         "000200",
         "002"},
        {"row 1 moves down and is emptied",
         {{1, "###......."}, {2, "...#......"}, {20, full}},
         {{2, "###......."}, {3, "...#......"}},
         "000100",
         "001"},
        {"a full row 1 is never removed", {{1, full}}, {{1, full}}, "000000", "000"},
        {"a full row 2 takes the empty row 1", {{2, full}, {3, "#........."}}, {{3, "#........."}}, "000100", "001"},
        {"full rows 1 and 2: row 1 moves into row 2 and is removed there", {{1, full}, {2, full}}, {}, "000200", "002"},
        {"every row from 2 to 20 full",
         {{1, "#........."}, {2, full},  {3, full},  {4, full},  {5, full},  {6, full},  {7, full},
          {8, full},         {9, full},  {10, full}, {11, full}, {12, full}, {13, full}, {14, full},
          {15, full},        {16, full}, {17, full}, {18, full}, {19, full}, {20, full}},
         {{20, "#........."}},
         "001900",
         "019"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HeadlessGame game;
        game.start();
        lay_out(game, c.before);
        game.form.checkrow();
        expect_board(game, c.after);
        EXPECT_EQ(visible_wall_cells(game.ui()), 64);
        EXPECT_EQ(game.state().score, TextOrNumber(c.score));
        EXPECT_EQ(game.state().rowcount, c.rowcount);
        const bool removed = std::string(c.rowcount) != "000";
        EXPECT_EQ(game.ui().rowslabel.text, removed ? "Rows:" + std::string(c.rowcount) : "Rows:000");
        if (removed) {
            EXPECT_EQ(game.ui().scorelabel.text, "Score:" + std::string(c.score));
        }
    }
}

TEST(RowClearing, MovedCellsKeepTheirColourAndPattern)
{
    HeadlessGame game;
    game.start();
    const Rgb orange{250, 120, 10};
    game.set_occupied(15, 4);
    game.grid(15, 4).fill = orange;
    game.grid(15, 4).pattern = downward_diagonal;
    game.fill_row(20);

    game.form.checkrow();

    EXPECT_TRUE(game.occupied(16, 4));
    EXPECT_EQ(game.grid(16, 4).fill, orange);
    EXPECT_EQ(game.grid(16, 4).pattern, downward_diagonal);
    // The cell it left took the empty cell above it, with its look.
    EXPECT_FALSE(game.occupied(15, 4));
    EXPECT_EQ(game.grid(15, 4).fill, (Rgb{255, 0, 0}));
    EXPECT_EQ(game.grid(15, 4).pattern, diagonal_cross);
}

TEST(RowClearing, RowOneIsEmptiedButKeepsItsLook)
{
    HeadlessGame game;
    game.start();
    const Rgb violet{150, 60, 150};
    game.set_occupied(1, 3);
    game.grid(1, 3).fill = violet;
    game.grid(1, 3).pattern = horizontal_lines;
    game.fill_row(20);

    game.form.checkrow();

    EXPECT_TRUE(game.occupied(2, 3));
    EXPECT_EQ(game.grid(2, 3).fill, violet);
    EXPECT_EQ(game.grid(2, 3).pattern, horizontal_lines);
    EXPECT_FALSE(game.occupied(1, 3));
    EXPECT_EQ(game.grid(1, 3).fill, violet);
    EXPECT_EQ(game.grid(1, 3).pattern, horizontal_lines);
}

TEST(RowClearing, RemovingARowLeavesTheCountersForARestartedScan)
{
    HeadlessGame game;
    game.start();
    game.fill_row(12);
    game.state().lastvalue = 12;
    game.form.deleterow();
    EXPECT_EQ(game.state().outer, 1);
    EXPECT_EQ(game.state().inner, 12);
    EXPECT_EQ(game.row_text(12), empty);
}

TEST(RowClearing, TheRowsCounterWrapsAfter999)
{
    HeadlessGame game;
    game.start();
    game.state().rowcount = "999";
    game.fill_row(20);
    game.form.checkrow();
    EXPECT_EQ(game.state().rowcount, "000");
    EXPECT_EQ(game.ui().rowslabel.text, "Rows:000");
    EXPECT_EQ(game.state().score, TextOrNumber("000100"));
}

}  // namespace
}  // namespace vorbix::testing
