// Spawning: the first piece of a game, the next piece drawn at random, hard-mode levels
// from the score, the spawn position and the look of each piece.
#include "tests/support/headless_game.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace vorbix::testing {
namespace {

// The largest single-precision value below 1.
constexpr float just_below_one = 0.99999994f;

TEST(Spawning, BeginHandsOverFromTheIntroToGravity)
{
    HeadlessGame game;
    // The first next piece is 1 (0 * 7 + 1); the spawn then draws 0.5 * 7 -> 4.
    game.start(answer_no, {0.0f, 0.5f});
    game.form.begin();

    EXPECT_EQ(game.ui().Timer2.interval(), 0);
    EXPECT_FALSE(game.ui().Timer2.live());
    EXPECT_EQ(game.ui().Timer1.interval(), 50);
    EXPECT_TRUE(game.ui().Timer1.live());
    EXPECT_EQ(game.state().piece, 1);
    EXPECT_EQ(game.state().nextpiece, 4.0f);
}

TEST(Spawning, TheFirstPieceOfAHardGameIsAFourCellPiece)
{
    HeadlessGame game;
    game.start(answer_yes, {just_below_one, just_below_one});
    // A score of level 9 would allow all sixteen pieces.
    game.state().score = "020010";
    game.form.begin();

    EXPECT_EQ(game.state().piece, 7);
    EXPECT_EQ(game.state().gamelevel, 9);
    EXPECT_EQ(game.state().nextpiece, 16.0f);
}

TEST(Spawning, PlacesTheNewPieceAboveTheWellHidden)
{
    HeadlessGame game;
    game.start(answer_no, {0.3f});
    GameState& s = game.state();
    s.nextpiece = 6.0f;
    place_piece(s, {2, 4, 12.5f, 7, 1.0f});
    for (int k = 1; k <= 16; ++k) game.ui().Shape1[k].visible = true;

    game.form.change();

    EXPECT_EQ(s.piece, 6);
    EXPECT_EQ(s.col, 3);
    EXPECT_EQ(s.row, -4.0f);
    EXPECT_EQ(s.rotation, 1);
    EXPECT_EQ(s.fallstep, 0.3f);
    EXPECT_TRUE(visible_elements(game.ui().Shape1).empty());
    // 0.3 * 7 -> piece 3, which the preview shows as a bar along its bottom row.
    EXPECT_EQ(s.nextpiece, 3.0f);
    EXPECT_EQ(visible_elements(game.ui().Shape3), (std::set<int>{13, 14, 15, 16}));
}

TEST(Spawning, EveryPieceTakesTheStyleOfItsKind)
{
    struct Case {
        int piece;
        Rgb fill;
        int pattern;
    };
    const Rgb style1{30, 180, 150}, style2{60, 150, 150}, style3{90, 120, 150}, style4{120, 90, 150},
        style5{150, 60, 150}, style6{180, 30, 150}, style7{210, 0, 150};
    const Case cases[] = {
        {1, style1, 1},  {2, style2, 2},  {3, style3, 3},  {4, style4, 4},  {5, style5, 5},  {6, style6, 6},
        {7, style7, 7},  {8, style1, 1},  {9, style2, 2},  {10, style3, 3}, {11, style4, 4}, {12, style5, 5},
        {13, style6, 6}, {14, style7, 7}, {15, style1, 1}, {16, style2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.piece);
        HeadlessGame game;
        game.start(answer_yes, {0.0f});
        game.state().nextpiece = static_cast<float>(c.piece);
        game.form.change();
        ASSERT_EQ(game.state().piece, c.piece);
        // All sixteen sprites, whatever the number of cells of the piece.
        for (int k = 1; k <= 16; ++k) {
            EXPECT_EQ(game.ui().Shape1[k].fill, c.fill) << "sprite " << k;
            EXPECT_EQ(game.ui().Shape1[k].pattern, c.pattern) << "sprite " << k;
        }
    }
}

TEST(Spawning, HardModeLevelFollowsTheScore)
{
    struct Case {
        TextOrNumber score;
        int level_before;
        int level_after;
    };
    // Strict bounds: a score exactly on a bound matches no band and keeps the level.
    const Case cases[] = {
        {"000000", 5, 0}, {"000490", 3, 0}, {"000500", 0, 0}, {"000500", 4, 4}, {505.0, 0, 1},    {"000510", 0, 1},
        {"000990", 0, 1}, {"001000", 1, 1}, {"001000", 5, 5}, {"001010", 1, 2}, {"001990", 0, 2}, {"002000", 2, 2},
        {"002010", 2, 3}, {"002990", 0, 3}, {"003000", 3, 3}, {"003010", 3, 4}, {"004990", 0, 4}, {"005000", 4, 4},
        {"005010", 4, 5}, {"007490", 0, 5}, {"007500", 5, 5}, {"007510", 5, 6}, {"009990", 0, 6}, {"010000", 6, 6},
        {"010010", 6, 7}, {"014990", 0, 7}, {"015000", 7, 7}, {"015010", 7, 8}, {"019990", 0, 8}, {"020000", 8, 8},
        {"020000", 2, 2}, {"020010", 8, 9}, {"999990", 0, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "score " << c.score.numeric_value() << ", level before " << c.level_before);
        HeadlessGame game;
        game.start(answer_yes, {0.0f});
        game.state().nextpiece = 1.0f;
        game.state().score = c.score;
        game.state().gamelevel = static_cast<std::int16_t>(c.level_before);
        game.ui().Level.text = "stale";
        game.form.change();
        EXPECT_EQ(game.state().gamelevel, c.level_after);
        // Rewritten at every spawn, also when the level stays.
        EXPECT_EQ(game.ui().Level.text, "Level " + std::to_string(c.level_after));
    }
}

TEST(Spawning, NormalModeLeavesTheLevelAlone)
{
    HeadlessGame game;
    game.start(answer_no, {0.0f});
    game.state().nextpiece = 1.0f;
    game.state().score = "020010";
    game.state().gamelevel = 4;
    game.ui().Level.text = "untouched";
    game.form.change();
    EXPECT_EQ(game.state().gamelevel, 4);
    EXPECT_EQ(game.ui().Level.text, "untouched");
}

TEST(Spawning, TheNextPieceComesFromARangeThatGrowsWithTheLevel)
{
    struct Case {
        const char* name;
        int answer;
        const char* score;
        float random;
        float nextpiece;
    };
    const Case cases[] = {
        {"normal, lowest value", answer_no, "000000", 0.0f, 1},
        {"normal, middle value", answer_no, "000000", 0.5f, 4},
        {"normal, just below one", answer_no, "000000", just_below_one, 7},
        {"normal, a high score changes nothing", answer_no, "020010", just_below_one, 7},
        {"hard level 0 picks like normal", answer_yes, "000000", just_below_one, 7},
        {"hard level 1", answer_yes, "000510", just_below_one, 8},
        {"hard level 4", answer_yes, "003010", just_below_one, 11},
        {"hard level 6", answer_yes, "007510", just_below_one, 13},
        {"hard level 8", answer_yes, "015010", just_below_one, 15},
        {"hard level 9", answer_yes, "020010", just_below_one, 16},
        {"hard level 9, middle value", answer_yes, "020010", 0.5f, 9},
        {"hard level 9, lowest value", answer_yes, "020010", 0.0f, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HeadlessGame game;
        game.start(c.answer, {c.random});
        game.state().nextpiece = 2.0f;
        game.state().score = c.score;
        game.form.change();
        EXPECT_EQ(game.state().nextpiece, c.nextpiece);
        EXPECT_EQ(game.state().piece, 2);
    }
}

TEST(Spawning, EachSpawnTakesOneRandomValue)
{
    HeadlessGame game;
    // begin: 0.9 * 7 -> 7; then one value per change: 0.0 -> 1, 0.2 -> 2, 0.45 -> 4.
    game.start(answer_no, {0.9f, 0.0f, 0.2f, 0.45f});
    game.form.begin();
    EXPECT_EQ(game.state().piece, 7);
    EXPECT_EQ(game.state().nextpiece, 1.0f);
    game.form.change();
    EXPECT_EQ(game.state().piece, 1);
    EXPECT_EQ(game.state().nextpiece, 2.0f);
    game.form.change();
    EXPECT_EQ(game.state().piece, 2);
    EXPECT_EQ(game.state().nextpiece, 4.0f);
}

}  // namespace
}  // namespace vorbix::testing
