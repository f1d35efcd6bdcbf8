// The piece catalogue and rotation: the sixteen masks, and which box cells each turn fills.
#include "tests/support/headless_game.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <utility>

namespace vorbix::testing {
namespace {

// A cell of the active piece's 4 by 4 box: (box row, box column), both 1..4.
using BoxCell = std::pair<int, int>;

// The box cells that the cell test finds filled for a piece in a turn, asking rotate for
// each cell in the order the game walks the box.
std::set<BoxCell> filled_box_cells(Form1& form, int piece, int rotation)
{
    GameState& s = form.state;
    s.piece = piece;
    s.rotation = rotation;
    std::set<BoxCell> cells;
    for (s.outer = 1; s.outer <= 4; ++s.outer) {
        for (s.inner = 1; s.inner <= 4; ++s.inner) {
            form.rotate();
            if (character_at(s.pieces[piece][s.maskrow], s.maskcol) == "1") cells.insert({s.outer, s.inner});
        }
    }
    return cells;
}

TEST(PieceCatalogue, HoldsTheSixteenMasks)
{
    HeadlessGame game;
    game.start();

    const std::array<std::array<const char*, 4>, 17> masks = {{
        {"", "", "", ""},
        {"0000", "0000", "0010", "1110"},
        {"0000", "0000", "0100", "0111"},
        {"0000", "0000", "0000", "1111"},
        {"0000", "0000", "0100", "1110"},
        {"0000", "0110", "0110", "0000"},
        {"0000", "0000", "1100", "0110"},
        {"0000", "0000", "0011", "0110"},
        {"0000", "1110", "1110", "0000"},
        {"0000", "1110", "0010", "0010"},
        {"0000", "1110", "0110", "0010"},
        {"0000", "0110", "1111", "0000"},
        {"0000", "1110", "1010", "0000"},
        {"0000", "0011", "0110", "1100"},
        {"0000", "1100", "0110", "0011"},
        {"0000", "1110", "1010", "1010"},
        {"0000", "0100", "1110", "0100"},
    }};
    for (int p = 0; p <= 16; ++p) {
        for (int r = 0; r <= 10; ++r) {
            SCOPED_TRACE(::testing::Message() << "piece " << p << ", mask row " << r);
            const bool filled = p >= 1 && r >= 1 && r <= 4;
            EXPECT_EQ(game.state().pieces[p][r], filled ? masks[p][r - 1] : "");
        }
    }
}

TEST(Rotation, GivesTheMaskCellForEachTurn)
{
    HeadlessGame game;
    game.start();
    GameState& s = game.state();

    // Box cell (1, 2) under each turn.
    struct Case {
        int rotation;
        int maskrow;
        int maskcol;
    };
    const Case cases[] = {{1, 1, 2}, {2, 3, 1}, {3, 4, 3}, {4, 2, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rotation);
        s.rotation = c.rotation;
        s.outer = 1;
        s.inner = 2;
        game.form.rotate();
        EXPECT_EQ(s.maskrow, c.maskrow);
        EXPECT_EQ(s.maskcol, c.maskcol);
        // rotate reads its counters and writes nothing else.
        EXPECT_EQ(s.outer, 1);
        EXPECT_EQ(s.inner, 2);
        EXPECT_EQ(s.rotation, c.rotation);
    }
}

TEST(Rotation, ATurnOutsideOneToFourLeavesTheLastResult)
{
    HeadlessGame game;
    game.start();
    GameState& s = game.state();
    for (const int rotation : {0, 5, -1, 8}) {
        SCOPED_TRACE(rotation);
        s.maskrow = 3;
        s.maskcol = 2;
        s.rotation = rotation;
        s.outer = 4;
        s.inner = 1;
        game.form.rotate();
        EXPECT_EQ(s.maskrow, 3);
        EXPECT_EQ(s.maskcol, 2);
    }
}

TEST(Rotation, BoxCellsOfEachTurn)
{
    HeadlessGame game;
    game.start();

    struct Case {
        const char* name;
        int piece;
        int rotation;
        std::set<BoxCell> cells;
    };
    const std::set<BoxCell> square = {{2, 2}, {2, 3}, {3, 2}, {3, 3}};
    const Case cases[] = {
        {"piece 1 as stored", 1, 1, {{3, 3}, {4, 1}, {4, 2}, {4, 3}}},
        {"piece 1 a quarter turn clockwise", 1, 2, {{1, 1}, {2, 1}, {3, 1}, {3, 2}}},
        {"piece 1 a half turn", 1, 3, {{1, 2}, {1, 3}, {1, 4}, {2, 2}}},
        {"piece 1 a quarter turn counter-clockwise", 1, 4, {{2, 3}, {2, 4}, {3, 4}, {4, 4}}},
        {"bar along box row 4", 3, 1, {{4, 1}, {4, 2}, {4, 3}, {4, 4}}},
        {"bar along box column 1", 3, 2, {{1, 1}, {2, 1}, {3, 1}, {4, 1}}},
        {"bar along box row 1", 3, 3, {{1, 1}, {1, 2}, {1, 3}, {1, 4}}},
        {"bar along box column 4", 3, 4, {{1, 4}, {2, 4}, {3, 4}, {4, 4}}},
        {"square as stored", 5, 1, square},
        {"square a quarter turn", 5, 2, square},
        {"square a half turn", 5, 3, square},
        {"square three quarters", 5, 4, square},
        {"piece 15 a quarter turn", 15, 2, {{1, 1}, {1, 2}, {1, 3}, {2, 3}, {3, 1}, {3, 2}, {3, 3}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(filled_box_cells(game.form, c.piece, c.rotation), c.cells);
    }
}

TEST(Rotation, PieceZeroFillsNoCellInAnyTurn)
{
    HeadlessGame game;
    game.start();
    for (int rotation = 1; rotation <= 4; ++rotation) {
        EXPECT_TRUE(filled_box_cells(game.form, 0, rotation).empty()) << rotation;
    }
}

// A box cell turned a quarter clockwise inside the 4 by 4 box.
BoxCell quarter_turn(BoxCell cell) { return {cell.second, 5 - cell.first}; }

TEST(Rotation, EachStepTurnsTheBoxAQuarterAndFourStepsReturn)
{
    HeadlessGame game;
    game.start();
    for (int piece = 1; piece <= 16; ++piece) {
        SCOPED_TRACE(piece);
        const std::set<BoxCell> start = filled_box_cells(game.form, piece, 1);
        std::set<BoxCell> turned = start;
        for (int step = 1; step <= 4; ++step) {
            std::set<BoxCell> next;
            for (const BoxCell& cell : turned) next.insert(quarter_turn(cell));
            turned = next;
            EXPECT_EQ(filled_box_cells(game.form, piece, step % 4 + 1), turned) << "step " << step;
        }
        EXPECT_EQ(turned, start);
    }
}

}  // namespace
}  // namespace vorbix::testing
