// The next-piece preview: sixteen cells tiling the preview box, showing the next piece as
// stored, in the colours it will have on the board.
#include "tests/support/headless_game.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <vector>

namespace vorbix::testing {
namespace {

void show_next(HeadlessGame& game, int piece)
{
    game.state().nextpiece = static_cast<float>(piece);
    game.form.shownext();
}

TEST(Preview, AllCellsHiddenUntilTheFirstNextPiece)
{
    HeadlessGame game;
    game.start();
    EXPECT_TRUE(visible_elements(game.ui().Shape3).empty());
    EXPECT_TRUE(game.ui().backdrop.visible);
}

TEST(Preview, ShowsEachPieceAsStored)
{
    // Preview cell (r, c), both from 0, is sprite 4r + c + 1; the mask's top row is always
    // empty, so sprites 1 to 4 never show.
    struct Case {
        int piece;
        std::set<int> shown;
    };
    const Case cases[] = {
        {1, {11, 13, 14, 15}},        {2, {10, 14, 15, 16}},        {3, {13, 14, 15, 16}},
        {4, {10, 13, 14, 15}},        {5, {6, 7, 10, 11}},          {6, {9, 10, 14, 15}},
        {7, {11, 12, 14, 15}},        {8, {5, 6, 7, 9, 10, 11}},    {9, {5, 6, 7, 11, 15}},
        {10, {5, 6, 7, 10, 11, 15}},  {11, {6, 7, 9, 10, 11, 12}},  {12, {5, 6, 7, 9, 11}},
        {13, {7, 8, 10, 11, 13, 14}}, {14, {5, 6, 10, 11, 15, 16}}, {15, {5, 6, 7, 9, 11, 13, 15}},
        {16, {6, 9, 10, 11, 14}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.piece);
        HeadlessGame game;
        game.start();
        show_next(game, c.piece);
        EXPECT_EQ(visible_elements(game.ui().Shape3), c.shown);
    }
}

TEST(Preview, TheBarLiesAlongTheBottomRowOfTheBox)
{
    HeadlessGame game;
    game.start();
    show_next(game, 3);

    // The box is 1575 square at (4176.5, 1440); each cell a quarter of it, 393.75.
    const float lefts[] = {4176.5f, 4570.25f, 4964.0f, 5357.75f};
    for (int c = 0; c < 4; ++c) {
        SCOPED_TRACE(c);
        const CellSprite& cell = game.ui().Shape3[13 + c];
        EXPECT_TRUE(cell.visible);
        EXPECT_EQ(cell.place, (Rect{lefts[c], 2621.25f, 393.75f, 393.75f}));
        EXPECT_EQ(cell.fill, (Rgb{90, 120, 150}));
        EXPECT_EQ(cell.pattern, vertical_lines);
    }
}

TEST(Preview, TheLargerPiecesLookLikeTheFourCellOnes)
{
    struct Case {
        int piece;
        Rgb fill;
        int pattern;
    };
    const Case cases[] = {
        {8, {30, 180, 150}, plain_fill},
        {14, {210, 0, 150}, diagonal_cross},
        {15, {30, 180, 150}, plain_fill},
        {16, {60, 150, 150}, horizontal_lines},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.piece);
        HeadlessGame game;
        game.start();
        show_next(game, c.piece);
        for (const int k : visible_elements(game.ui().Shape3)) {
            EXPECT_EQ(game.ui().Shape3[k].fill, c.fill) << k;
            EXPECT_EQ(game.ui().Shape3[k].pattern, c.pattern) << k;
        }
    }
}

TEST(Preview, NoCellOfThePreviousPieceRemains)
{
    HeadlessGame game;
    game.start();
    show_next(game, 15);
    show_next(game, 3);
    EXPECT_EQ(visible_elements(game.ui().Shape3), (std::set<int>{13, 14, 15, 16}));
    // The bar's cells took its look over that of piece 15.
    EXPECT_EQ(game.ui().Shape3[13].pattern, vertical_lines);
}

TEST(Preview, PieceZeroLeavesThePreviewAsItWas)
{
    HeadlessGame game;
    game.start();
    show_next(game, 10);
    std::vector<CellSprite> before;
    for (int k = 1; k <= 16; ++k) before.push_back(game.ui().Shape3[k]);

    show_next(game, 0);

    for (int k = 1; k <= 16; ++k) EXPECT_EQ(game.ui().Shape3[k], before[k - 1]) << k;
}

TEST(Preview, ShownCellsAreBroughtToTheFront)
{
    HeadlessGame game;
    game.start();
    std::uint64_t highest = 0;
    for (int n = 1; n <= 264; ++n) highest = std::max(highest, game.ui().Shape2[n].z);
    for (int k = 1; k <= 16; ++k) highest = std::max(highest, game.ui().Shape1[k].z);
    const std::uint64_t hidden_before = game.ui().Shape3[1].z;

    show_next(game, 5);
    for (const int k : {6, 7, 10, 11}) EXPECT_GT(game.ui().Shape3[k].z, highest) << k;
    // A cell that stays hidden keeps its place in the stacking order.
    EXPECT_EQ(game.ui().Shape3[1].z, hidden_before);

    // Shown again, it comes to the front again.
    const std::uint64_t first_time = game.ui().Shape3[6].z;
    show_next(game, 5);
    EXPECT_GT(game.ui().Shape3[6].z, first_time);
}

}  // namespace
}  // namespace vorbix::testing
