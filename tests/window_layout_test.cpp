// The window's layout after start-up: the cell size, the window's size, the side panel
// centred beside the well, the three sprite pools and the walled well.
#include "tests/support/headless_game.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace vorbix::testing {
namespace {

const Rgb red{255, 0, 0};
const Rgb green{0, 255, 0};
const Rgb blue{0, 0, 255};
const Rgb dark_blue{0, 0, 192};

TEST(WindowLayout, CellSizeAndWindowSizeFollowFromTheDesignedClientWidth)
{
    HeadlessGame game;
    game.start();

    // 5850 / 20 = 292.5, of which the whole part is kept.
    EXPECT_EQ(game.state().cellsize, 292.0f);
    // 22 cells wide; 22 cells and 450 twips of frame and title bar high.
    EXPECT_EQ(game.ui().outer_width, 6424.0f);
    EXPECT_EQ(game.ui().outer_height, 6874.0f);
    // The frame takes 120 twips of the width and 450 of the height.
    EXPECT_EQ(game.ui().client_width(), 6304.0f);
    EXPECT_EQ(game.ui().client_height(), 6424.0f);
    EXPECT_EQ(game.ui().caption, "Vorbix");
}

TEST(WindowLayout, SidePanelIsCentredOnSeventeenCells)
{
    HeadlessGame game;
    game.start(answer_yes);
    FormControls& ui = game.ui();

    // The centre line is 17 * 292 = 4964; each control stands at 4964 minus half its
    // designed width and keeps its designed top.
    struct Expected {
        const char* name;
        const Rect& place;
        Rect want;
    };
    const Expected panel[] = {
        {"npiece", ui.npiece.place, {4176.5f, 120, 1575, 1215}},
        {"backdrop", ui.backdrop.place, {4176.5f, 1440, 1575, 1575}},
        {"scorelabel", ui.scorelabel.place, {4034, 3120, 1860, 360}},
        {"hscorelabel", ui.hscorelabel.place, {3876.5f, 3720, 2175, 360}},
        {"rowslabel", ui.rowslabel.place, {4296.5f, 4320, 1335, 360}},
        {"piecelabel", ui.piecelabel.place, {4131.5f, 4920, 1665, 360}},
        {"Level", ui.Level.place, {4469, 5520, 990, 360}},
    };
    for (const Expected& control : panel) {
        SCOPED_TRACE(control.name);
        EXPECT_EQ(control.place, control.want);
    }
}

TEST(WindowLayout, ButtonsAreHiddenAfterStartUp)
{
    HeadlessGame game;
    game.start();
    EXPECT_FALSE(game.ui().Pause.visible);
    EXPECT_FALSE(game.ui().Command1.visible);
}

TEST(SpritePools, TemplatesAreSizedFromTheCellSizeAndThePreviewBox)
{
    HeadlessGame game;
    game.start();
    FormControls& ui = game.ui();

    EXPECT_EQ(ui.Shape1[0].place, (Rect{360, 600, 292, 292}));
    EXPECT_EQ(ui.Shape2[0].place, (Rect{1560, 600, 292, 292}));
    // A quarter of the 1575-twip preview box each way.
    EXPECT_EQ(ui.Shape3[0].place, (Rect{720, 1440, 393.75f, 393.75f}));
    for (const SpritePool* pool : {&ui.Shape1, &ui.Shape2, &ui.Shape3}) {
        EXPECT_FALSE((*pool)[0].visible) << pool->name();
    }
}

TEST(SpritePools, CreatedElementsCopyTheirTemplateAndStartHidden)
{
    HeadlessGame game;
    game.start();
    FormControls& ui = game.ui();

    struct PoolCase {
        const SpritePool& pool;
        int elements;
        Rect place;
        Rgb fill;
        int pattern;
    };
    const PoolCase pools[] = {
        {ui.Shape1, 16, {360, 600, 292, 292}, dark_blue, plain_fill},
        {ui.Shape3, 16, {720, 1440, 393.75f, 393.75f}, green, plain_fill},
    };
    for (const PoolCase& c : pools) {
        SCOPED_TRACE(c.pool.name());
        EXPECT_TRUE(c.pool.exists(c.elements));
        EXPECT_FALSE(c.pool.exists(c.elements + 1));
        for (int k = 1; k <= c.elements; ++k) {
            SCOPED_TRACE(k);
            const CellSprite& sprite = c.pool[k];
            EXPECT_EQ(sprite.place, c.place);
            EXPECT_EQ(sprite.fill, c.fill);
            EXPECT_EQ(sprite.outline, blue);
            EXPECT_EQ(sprite.pattern, c.pattern);
            EXPECT_FALSE(sprite.visible);
        }
    }
}

TEST(Well, GridSpritesStandOnTheirCells)
{
    HeadlessGame game;
    game.start();
    const SpritePool& grid = game.ui().Shape2;

    EXPECT_TRUE(grid.exists(264));
    EXPECT_FALSE(grid.exists(265));
    int n = 0;
    for (int r = 0; r <= 21; ++r) {
        for (int c = 0; c <= 11; ++c) {
            ++n;
            SCOPED_TRACE(n);
            EXPECT_EQ(grid[n].place, (Rect{60.0f + 292.0f * c, 50.0f + 292.0f * r, 292, 292}));
            EXPECT_EQ(grid[n].fill, red);
            EXPECT_EQ(grid[n].outline, blue);
            EXPECT_EQ(grid[n].pattern, diagonal_cross);
        }
    }
    // The bottom right corner of the floor.
    EXPECT_EQ(grid[264].place.left, 3272.0f);
    EXPECT_EQ(grid[264].place.top, 6182.0f);
}

TEST(Well, OnlyTheWallsAreVisibleAfterStartUp)
{
    HeadlessGame game;
    game.start();

    std::set<int> walls;
    for (int n = 1; n <= 12; ++n) walls.insert(n);     // top wall
    for (int n = 253; n <= 264; ++n) walls.insert(n);  // floor
    for (int r = 1; r <= 20; ++r) {
        walls.insert(12 * r + 1);   // left wall
        walls.insert(12 * r + 12);  // right wall
    }
    ASSERT_EQ(walls.size(), 64u);
    EXPECT_EQ(visible_elements(game.ui().Shape2, 1, 264), walls);
    EXPECT_EQ(game.visible_grid_sprites(), 64);

    // The top left and bottom right inside cells.
    EXPECT_FALSE(game.ui().Shape2[14].visible);
    EXPECT_FALSE(game.ui().Shape2[251].visible);
}

TEST(Well, GridSpritesAreDrawnOverTheActivePiece)
{
    HeadlessGame game;
    game.start();
    const FormControls& ui = game.ui();

    std::uint64_t highest_piece_sprite = 0;
    for (int k = 1; k <= 16; ++k) highest_piece_sprite = std::max(highest_piece_sprite, ui.Shape1[k].z);
    for (int n = 1; n <= 264; ++n) {
        SCOPED_TRACE(n);
        EXPECT_GT(ui.Shape2[n].z, highest_piece_sprite);
        // Each grid sprite is brought to the front as it is created.
        if (n > 1) {
            EXPECT_GT(ui.Shape2[n].z, ui.Shape2[n - 1].z);
        }
    }
}

TEST(Well, ActivePieceStandsTenTwipsLeftOfItsColumn)
{
    HeadlessGame game;
    game.start();
    // Piece 3 lying in box row 4 at column 3: its cells are in board columns 4 to 7.
    place_piece(game.state(), {3, 1, 5.0f, 3});
    game.form.drop();
    for (int b = 1; b <= 4; ++b) {
        SCOPED_TRACE(b);
        EXPECT_EQ(game.ui().Shape1[box_sprite(4, b)].place.left, game.grid(9, 3 + b).place.left - 10.0f);
        EXPECT_EQ(game.ui().Shape1[box_sprite(4, b)].place.top, game.grid(9, 3 + b).place.top);
    }
}

}  // namespace
}  // namespace vorbix::testing
