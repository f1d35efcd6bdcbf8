// Landing: a piece that can fall no further settles into the well in its colours, full rows
// go, the piece is counted and scored; a cell in or above the top wall row ends the game.
#include "tests/support/headless_game.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace vorbix::testing {
namespace {

const Rgb red{255, 0, 0};
const Rgb style1{30, 180, 150};
const Rgb style3{90, 120, 150};

// Random values that make begin's first piece the given one (r * 7 falls in [p - 1, p)).
constexpr float first_piece_1 = 0.0f;
constexpr float first_piece_3 = 0.3f;
constexpr float first_piece_5 = 0.6f;
// Every later next piece is piece 1.
constexpr float next_piece_1 = 0.0f;

void gravity_ticks(HeadlessGame& game, long count) { game.front_end.tick(TimerId::timer1, count); }

TEST(Landing, TheFirstPieceSettlesOnTheFloor)
{
    HeadlessGame game;
    game.start(answer_no, {first_piece_3, next_piece_1, next_piece_1});
    game.form.begin();

    // The bar falls 0.3 a tick from -4 and rests on the floor once -4 + 0.3 n >= 16.
    gravity_ticks(game, 66);
    ASSERT_EQ(game.state().blockcount, "0000");
    ASSERT_EQ(game.state().piece, 3);
    gravity_ticks(game, 1);

    EXPECT_EQ(game.row_text(20), "...####...");
    for (int column = 4; column <= 7; ++column) {
        SCOPED_TRACE(column);
        EXPECT_EQ(game.grid(20, column).fill, style3);
        EXPECT_EQ(game.grid(20, column).pattern, vertical_lines);
    }
    EXPECT_EQ(game.visible_grid_sprites(), 68);
    EXPECT_EQ(game.state().blockcount, "0001");
    EXPECT_EQ(game.ui().piecelabel.text, "Blocks:0001");
    EXPECT_EQ(game.ui().scorelabel.text, "Score:000010");
    EXPECT_EQ(game.ui().hscorelabel.text, "HiScore:000010");
    EXPECT_EQ(game.ui().rowslabel.text, "Rows:000");
    EXPECT_FALSE(game.ui().Command1.visible);
    EXPECT_EQ(game.ui().Timer1.interval(), 50);
    // The same tick spawned the next piece, not yet drawn.
    EXPECT_EQ(game.state().piece, 1);
    EXPECT_EQ(game.state().row, -4.0f);
    EXPECT_TRUE(visible_elements(game.ui().Shape1).empty());
}

TEST(Landing, APieceThatFillsARowScoresTheRowAndItself)
{
    HeadlessGame game;
    game.start(answer_no, {first_piece_3, next_piece_1, next_piece_1});
    game.fill_row(20, {4, 5, 6, 7});
    game.set_occupied(19, 1);
    game.form.begin();

    gravity_ticks(game, 67);

    // Row 20 was removed and row 19 moved into it.
    EXPECT_EQ(game.row_text(20), "#.........");
    EXPECT_EQ(game.row_text(19), "..........");
    EXPECT_EQ(game.visible_grid_sprites(), 65);
    EXPECT_EQ(game.ui().scorelabel.text, "Score:000110");
    EXPECT_EQ(game.ui().hscorelabel.text, "HiScore:000110");
    EXPECT_EQ(game.ui().rowslabel.text, "Rows:001");
    EXPECT_EQ(game.ui().piecelabel.text, "Blocks:0001");
}

TEST(Landing, SettlesInTheWholeRowWhereEachCellWasDrawn)
{
    struct Case {
        const char* name;
        Placement at;
        std::vector<std::pair<int, int>> occupied;
        std::vector<std::pair<int, std::string>> after;
    };
    const Case cases[] = {
        // 9.8 tests row 14; 10.1 overlaps row 15 by a tenth and settles in row 14.
        {"the bar onto a single cell", {3, 1, 9.5f, 3, 0.3f}, {{15, 5}}, {{14, "...####..."}, {15, "....#....."}}},
        {"piece 1 upright against the left wall, fast",
         {1, 2, 10.0f, 0, 1.0f},
         {},
         {{17, ".........."}, {18, "#........."}, {19, "#........."}, {20, "##........"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HeadlessGame game;
        game.start();
        for (const auto& [r, col] : c.occupied) game.set_occupied(r, col);
        place_piece(game.state(), c.at);
        int steps = 0;
        do {
            game.form.drop();
        } while (game.state().landed == game_false && ++steps < 40);
        game.form.stack();
        for (const auto& [r, text] : c.after) EXPECT_EQ(game.row_text(r), text) << "row " << r;
        EXPECT_FALSE(game.ui().Command1.visible);
    }
}

// The "Game Over" button stands centred in the 6304 by 6424 client area: 6304 / 2 - 2655 / 2
// and 6424 / 2 - 2175 / 2.
void expect_game_over(HeadlessGame& game)
{
    EXPECT_TRUE(game.ui().Command1.visible);
    EXPECT_EQ(game.ui().Command1.place, (Rect{1824.5f, 2124.5f, 2655, 2175}));
    EXPECT_EQ(game.ui().Timer1.interval(), 0);
    EXPECT_FALSE(game.ui().Timer1.live());
    // The piece is still counted and scored.
    EXPECT_EQ(game.ui().piecelabel.text, "Blocks:0001");
    EXPECT_EQ(game.ui().scorelabel.text, "Score:000010");
}

TEST(Landing, ACellInTheTopWallRowEndsTheGame)
{
    HeadlessGame game;
    game.start(answer_no, {first_piece_3, next_piece_1, next_piece_1});
    game.lose_on_first_step();
    game.form.begin();

    gravity_ticks(game, 1);

    expect_game_over(game);
    EXPECT_EQ(game.ui().Timer2.interval(), 0);
    EXPECT_EQ(game.ui().Timer3.interval(), 200);
    EXPECT_TRUE(game.ui().Timer3.enabled());
    // The bar at -3.7 stood in row 0, columns 4 to 7: the wall there takes its look.
    for (int column = 0; column <= 11; ++column) {
        SCOPED_TRACE(column);
        const bool settled = column >= 4 && column <= 7;
        EXPECT_TRUE(game.occupied(0, column));
        EXPECT_EQ(game.grid(0, column).fill, settled ? style3 : red);
        EXPECT_EQ(game.grid(0, column).pattern, settled ? vertical_lines : diagonal_cross);
    }
    EXPECT_EQ(game.visible_grid_sprites(), 65);

    // The next piece was still spawned and shown; with gravity stopped it stays hidden.
    EXPECT_EQ(game.state().piece, 1);
    EXPECT_EQ(visible_elements(game.ui().Shape3), (std::set<int>{11, 13, 14, 15}));
    gravity_ticks(game, 5);
    EXPECT_TRUE(visible_elements(game.ui().Shape1).empty());
    EXPECT_EQ(game.state().row, -4.0f);
}

TEST(Landing, CellsAboveTheBoardEndTheGameAndAreDropped)
{
    struct Case {
        const char* name;
        float first_piece;
        std::string top_wall_settled;  // columns 1..10 of row 0 that take the piece's look
        Rgb look;
    };
    const Case cases[] = {
        // The square at -3.7 fills rows -2 and -1: nothing of it has a grid sprite.
        {"wholly above the board", first_piece_5, "..........", red},
        // Piece 1 at -3.7: its top cell in row -1 is dropped, its lower three stand in row 0.
        {"partly in the top wall row", first_piece_1, "...###....", style1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HeadlessGame game;
        game.start(answer_no, {c.first_piece, next_piece_1, next_piece_1});
        game.lose_on_first_step();
        game.form.begin();

        gravity_ticks(game, 1);

        expect_game_over(game);
        EXPECT_EQ(game.visible_grid_sprites(), 65);
        for (int column = 1; column <= 10; ++column) {
            SCOPED_TRACE(column);
            const bool took_look = c.top_wall_settled[column - 1] == '#';
            EXPECT_EQ(game.grid(0, column).fill, took_look ? c.look : red);
        }
        for (int r = 1; r <= 20; ++r) EXPECT_EQ(game.row_text(r), r == 2 ? "#........." : "..........") << r;
        EXPECT_FALSE(game.ui().Shape2[0].visible);
    }
}

TEST(Landing, ACellWhoseNumberIsZeroLeavesTheTemplateAlone)
{
    HeadlessGame game;
    game.start();
    // Only box cell (1, 1) shows, at board row -1, column 11: grid number 0.
    for (int k = 1; k <= 16; ++k) game.ui().Shape1[k].visible = k == 1;
    game.ui().Shape1[1].fill = style1;
    game.state().row = -1.5f;
    game.state().col = 10;

    game.form.stack();

    EXPECT_TRUE(game.ui().Command1.visible);
    const CellSprite& grid_template = game.ui().Shape2[0];
    EXPECT_FALSE(grid_template.visible);
    EXPECT_EQ(grid_template.fill, red);
    EXPECT_EQ(grid_template.pattern, diagonal_cross);
    EXPECT_EQ(game.visible_grid_sprites(), 64);
    EXPECT_EQ(game.ui().piecelabel.text, "Blocks:0001");
}

TEST(Landing, TheBlocksCounterWrapsAfter9999)
{
    HeadlessGame game;
    game.start();
    game.state().blockcount = "9999";
    for (int k = 1; k <= 16; ++k) game.ui().Shape1[k].visible = false;
    game.state().row = 5.0f;
    game.state().col = 3;

    game.form.stack();
    EXPECT_EQ(game.state().blockcount, "0000");
    EXPECT_EQ(game.ui().piecelabel.text, "Blocks:0000");
    game.form.stack();
    EXPECT_EQ(game.state().blockcount, "0001");
    EXPECT_EQ(game.ui().piecelabel.text, "Blocks:0001");
    EXPECT_EQ(game.ui().scorelabel.text, "Score:000020");
}

}  // namespace
}  // namespace vorbix::testing
