// Start-up: the difficulty question, the counters and their labels, the timers, the best
// score carried into a new game and the random numbers seeded from the clock.
#include "tests/support/headless_game.h"

#include <gtest/gtest.h>

#include <vector>

namespace vorbix::testing {
namespace {

// The window of a finished game is thrown away and loaded again, as the "Game Over" button
// does, answering the question anew.
void load_again(HeadlessGame& game, int answer)
{
    game.form.Unload();
    game.front_end.queue_answer(answer);
    game.form.Show();
}

TEST(StartUp, TheAnswerChoosesTheDifficultyAndTheLevelLabel)
{
    struct Case {
        const char* name;
        int answer;
        int difficulty;
        bool level_shown;
    };
    const Case cases[] = {
        {"No: normal mode", answer_no, 7, false},
        {"Yes: hard mode", answer_yes, 6, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HeadlessGame game;
        game.start(c.answer);
        EXPECT_EQ(game.front_end.asked(), 1);
        EXPECT_EQ(game.state().difficulty, c.difficulty);
        EXPECT_EQ(game.ui().Level.visible, c.level_shown);
        EXPECT_EQ(game.ui().Level.text, "Level 0");
        EXPECT_EQ(game.state().gamelevel, 0);
    }
}

TEST(StartUp, CountersAndLabelsStartFromZero)
{
    HeadlessGame game;
    game.start();

    EXPECT_EQ(game.state().score, TextOrNumber("000000"));
    EXPECT_EQ(game.state().rowcount, "000");
    EXPECT_EQ(game.state().blockcount, "0000");
    // Never scored in this run: the best score is still empty, but the label shows zeros.
    EXPECT_EQ(game.state().hiscore, "");

    struct Expected {
        const Label& label;
        const char* text;
    };
    const Expected labels[] = {
        {game.ui().scorelabel, "Score:000000"}, {game.ui().hscorelabel, "HiScore:000000"},
        {game.ui().rowslabel, "Rows:000"},      {game.ui().piecelabel, "Blocks:0000"},
        {game.ui().npiece, "Next Piece:"},
    };
    for (const Expected& e : labels) {
        EXPECT_EQ(e.label.text, e.text) << e.label.name;
        EXPECT_TRUE(e.label.visible) << e.label.name;
    }
}

TEST(StartUp, TimersStandReadyForTheIntro)
{
    HeadlessGame game;
    game.start();
    const FormControls& ui = game.ui();

    // Gravity waits for the first piece.
    EXPECT_EQ(ui.Timer1.interval(), 0);
    EXPECT_FALSE(ui.Timer1.live());
    // The intro was switched off for the question and on again, then quickened by the curtain.
    EXPECT_EQ(ui.Timer2.interval(), 2);
    EXPECT_TRUE(ui.Timer2.enabled());
    // The curtain runs at its designed pace.
    EXPECT_EQ(ui.Timer3.interval(), 200);
    EXPECT_TRUE(ui.Timer3.enabled());
}

TEST(StartUp, ANewGameShowsTheBestScoreOfTheRun)
{
    HeadlessGame game;
    game.start();
    // The last game ended with a best score of 120 and left its counters behind.
    game.state().hiscore = "000120";
    game.state().score = "000120";
    game.state().rowcount = "001";
    game.state().blockcount = "0002";
    game.state().gamelevel = 3;

    load_again(game, answer_no);

    EXPECT_EQ(game.front_end.asked(), 2);
    EXPECT_EQ(game.state().hiscore, "000120");
    EXPECT_EQ(game.ui().hscorelabel.text, "HiScore:000120");
    EXPECT_EQ(game.ui().scorelabel.text, "Score:000000");
    EXPECT_EQ(game.state().score, TextOrNumber("000000"));
    EXPECT_EQ(game.state().rowcount, "000");
    EXPECT_EQ(game.state().blockcount, "0000");
    EXPECT_EQ(game.state().gamelevel, 0);
    EXPECT_EQ(game.ui().rowslabel.text, "Rows:000");
    EXPECT_EQ(game.ui().piecelabel.text, "Blocks:0000");
}

TEST(StartUp, ANewGameBuildsTheWindowAfresh)
{
    HeadlessGame game;
    game.start(answer_yes);
    // The last game ended in hard mode at level 4, with settled cells and "Game Over" showing.
    game.ui().Level.text = "Level 4";
    game.ui().Command1.visible = true;
    game.set_occupied(20, 5);
    game.grid(0, 5).fill = Rgb{30, 180, 150};

    load_again(game, answer_yes);

    EXPECT_EQ(game.ui().Level.text, "Level 0");
    EXPECT_TRUE(game.ui().Level.visible);
    EXPECT_FALSE(game.ui().Command1.visible);
    EXPECT_EQ(game.visible_grid_sprites(), 64);
    EXPECT_EQ(game.grid(0, 5).fill, (Rgb{255, 0, 0}));
    EXPECT_EQ(game.ui().Shape1[16].place.width, 292.0f);
    EXPECT_TRUE(visible_elements(game.ui().Shape3).empty());
}

TEST(StartUp, ANewGameKeepsThePieceFieldsOfTheLastOne)
{
    HeadlessGame game;
    game.start();
    GameState& s = game.state();
    s.piece = 12;
    s.nextpiece = 9.0f;
    s.rotation = 3;
    s.col = 6;
    s.row = 7.5f;
    s.fallstep = 1.0f;

    load_again(game, answer_no);

    EXPECT_EQ(s.piece, 12);
    EXPECT_EQ(s.nextpiece, 9.0f);
    EXPECT_EQ(s.rotation, 3);
    EXPECT_EQ(s.col, 6);
    EXPECT_EQ(s.row, 7.5f);
    EXPECT_EQ(s.fallstep, 1.0f);
}

TEST(StartUp, TheFirstStartLeavesThePieceFieldsEmpty)
{
    HeadlessGame game;
    game.start();
    EXPECT_EQ(game.state().piece, 0);
    EXPECT_EQ(game.state().rotation, 0);
    EXPECT_EQ(game.state().fallstep, 0.0f);
    EXPECT_EQ(game.state().nextpiece, 0.0f);
}

// The next pieces of a game, from its first spawn on, with no values queued: they come
// from the random source as start-up seeded it.
std::vector<float> next_pieces(HeadlessGame& game, int count)
{
    std::vector<float> pieces;
    game.form.begin();
    pieces.push_back(game.state().nextpiece);
    while (static_cast<int>(pieces.size()) < count) {
        game.form.change();
        pieces.push_back(game.state().nextpiece);
    }
    return pieces;
}

TEST(StartUp, RandomNumbersAreSeededFromTheClock)
{
    constexpr int pieces = 40;
    HeadlessGame first;
    first.front_end.set_clock(3600);
    first.start();
    HeadlessGame second;
    second.front_end.set_clock(3600);
    second.start();
    HeadlessGame later;
    later.front_end.set_clock(3601);
    later.start();

    const std::vector<float> sequence = next_pieces(first, pieces);
    for (const float p : sequence) {
        EXPECT_GE(p, 1.0f);
        EXPECT_LE(p, 7.0f);
    }
    EXPECT_EQ(next_pieces(second, pieces), sequence);
    // Forty pieces alike from another seed would be a one in 7^40 chance.
    EXPECT_NE(next_pieces(later, pieces), sequence);
}

TEST(StartUp, EveryLoadSeedsTheRandomNumbersAgain)
{
    HeadlessGame game;
    game.front_end.set_clock(45000);
    game.start();
    const std::vector<float> sequence = next_pieces(game, 30);

    load_again(game, answer_no);
    EXPECT_EQ(next_pieces(game, 30), sequence);
}

}  // namespace
}  // namespace vorbix::testing
