// The keyboard and pause: the key table, the turn wrap-around, the fast drop's bonus, keys
// while paused, and the Pause button that resumes exactly the ticks that ran before; and the
// controller's table, the keys and clicks it gives the game in each state.
#include "platform/controller_map.h"
#include "support/headless_game.h"
#include "support/key_codes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace vorbix {

void PrintTo(const PadAction& action, std::ostream* out);
namespace {

using testing::HeadlessGame;

// A game in play: the bar (piece 3) spawned and not yet moved, at row -4, column 3.
class Keys : public ::testing::Test {
protected:
    void SetUp() override
    {
        game.start(answer_no, {0.3f, 0.3f, 0.3f, 0.3f});
        game.front_end.advance(66);
        ASSERT_EQ(game.state().piece, 3);
    }

    // Lets the bar fall clear of the top so that every turn is free (row -0.7).
    void fall_clear() { game.front_end.tick(TimerId::timer1, 11); }

    void press(int key) { game.form.Form_KeyDown(key, 0); }

    // Left, Right twice and A from column 3, turn 1: each move and the turn taken.
    void move_and_turn()
    {
        press(key_left);
        EXPECT_EQ(game.state().col, 2);
        press(key_right);
        press(key_right);
        EXPECT_EQ(game.state().col, 4);
        press(key_a);
        EXPECT_EQ(game.state().rotation, 2);
    }

    struct Snapshot {
        int col, rotation;
        float row, fallstep;
        bool score_is_text;
        std::string score_text;
        bool pause_visible;
        std::vector<std::string_view> order;
        bool e1, e2, e3;
        friend bool operator==(const Snapshot&, const Snapshot&) = default;
    };

    Snapshot snapshot()
    {
        const GameState& s = game.state();
        return {s.col,
                s.rotation,
                s.row,
                s.fallstep,
                s.score.is_text(),
                s.score.is_text() ? s.score.text() : "",
                game.ui().Pause.visible,
                game.ui().widget_order,
                game.ui().Timer1.enabled(),
                game.ui().Timer2.enabled(),
                game.ui().Timer3.enabled()};
    }

    HeadlessGame game;
};

TEST_F(Keys, TheKeyTable)
{
    fall_clear();
    move_and_turn();
    press(key_s);
    press(key_s);
    EXPECT_EQ(game.state().rotation, 4);
    EXPECT_EQ(game.state().lastvalue, 1);  // the turn before the last one
    press(key_down);
    EXPECT_EQ(game.state().fallstep, 1.0f);
    press(key_p);
    EXPECT_TRUE(game.ui().Pause.visible);
}

TEST_F(Keys, UpAndUnknownKeysDoNothing)
{
    fall_clear();
    const Snapshot before = snapshot();
    for (const int key : {key_up, 0, 32, 48, 66, 97, 112, 1000, 65535}) {
        press(key);
        EXPECT_EQ(snapshot(), before) << "key " << key;
    }
}

TEST_F(Keys, TurnsWrapAround)
{
    fall_clear();
    press(key_s);  // 1 wraps to 4
    EXPECT_EQ(game.state().rotation, 4);
    press(key_a);  // A after S returns
    EXPECT_EQ(game.state().rotation, 1);
    for (const int expected : {2, 3, 4, 1}) {
        press(key_a);
        EXPECT_EQ(game.state().rotation, expected);
    }
    for (const int expected : {4, 3, 2, 1}) {
        press(key_s);
        EXPECT_EQ(game.state().rotation, expected);
    }
}

TEST_F(Keys, ARefusedTurnLeavesTheRotation)
{
    // At row -4 the upright bar would reach above the board.
    press(key_a);
    EXPECT_EQ(game.state().rotation, 1);
    press(key_s);
    EXPECT_EQ(game.state().rotation, 1);
}

TEST_F(Keys, DownGivesItsBonusOncePerPiece)
{
    press(key_down);
    ASSERT_FALSE(game.state().score.is_text());
    EXPECT_EQ(game.state().score.number(), 5.0);
    EXPECT_EQ(game.ui().scorelabel.text, "Score:000000");
    EXPECT_EQ(game.state().fallstep, 1.0f);
    press(key_down);
    EXPECT_EQ(game.state().score.number(), 5.0);
    // The next piece earns it again, from the number the score then holds.
    game.front_end.tick(TimerId::timer1, 20);  // lands on the floor: 5 + 10
    ASSERT_EQ(game.state().row, -4.0f);
    EXPECT_EQ(game.state().score.text(), "000015");
    press(key_down);
    EXPECT_EQ(game.state().score.number(), 20.0);
}

TEST_F(Keys, NoBonusUnlessTheStepIsExactlyTheSpawnValue)
{
    for (const float step : {0.0f, 0.29999998f, 0.30000004f, 1.0f}) {
        game.state().fallstep = step;
        game.state().score = "000000";
        press(key_down);
        ASSERT_TRUE(game.state().score.is_text()) << step;
        EXPECT_EQ(game.state().score.text(), "000000") << step;
        EXPECT_EQ(game.state().fallstep, 1.0f);
    }
}

TEST_F(Keys, KeysWhilePausedAreApplied)
{
    fall_clear();
    press(key_p);
    move_and_turn();
    press(key_s);
    EXPECT_EQ(game.state().rotation, 1);
    press(key_down);
    EXPECT_EQ(game.state().fallstep, 1.0f);
    EXPECT_EQ(game.state().score.number(), 5.0);
    // Still tested: the bar at column 4 covers columns 5 to 8; three more to the right meet
    // the wall on the third.
    for (int i = 0; i < 3; ++i) press(key_right);
    EXPECT_EQ(game.state().col, 6);
    // Nothing is drawn while paused; the next gravity step after resuming shows it.
    game.form.Pause_Click();
    game.front_end.advance(50);
    EXPECT_EQ(game.ui().Shape1[13].place.left, 7 * 292 + 50);
}

TEST_F(Keys, PauseShowsTheButtonAboveTheCurtainAndStopsAllTimers)
{
    press(key_p);
    EXPECT_TRUE(game.ui().Pause.visible);
    ASSERT_FALSE(game.ui().widget_order.empty());
    EXPECT_EQ(game.ui().widget_order.back(), "Pause");
    EXPECT_EQ(game.ui().widget_order.size(), 4u);
    EXPECT_FALSE(game.ui().Timer1.enabled());
    EXPECT_FALSE(game.ui().Timer2.enabled());
    EXPECT_FALSE(game.ui().Timer3.enabled());
    const float row = game.state().row;
    const float curtain = game.ui().coverbottom.place.top;
    game.front_end.advance(10'000);
    EXPECT_EQ(game.state().row, row);
    EXPECT_EQ(game.ui().coverbottom.place.top, curtain);
}

TEST_F(Keys, PWhilePausedChangesNothing)
{
    press(key_p);
    const Snapshot paused = snapshot();
    press(key_p);
    EXPECT_EQ(snapshot(), paused);
    game.form.Pause_Click();
    EXPECT_FALSE(game.ui().Pause.visible);
    EXPECT_TRUE(game.ui().Timer1.enabled());
    EXPECT_TRUE(game.ui().Timer2.enabled());
    EXPECT_TRUE(game.ui().Timer3.enabled());
}

TEST_F(Keys, ResumingRestoresGravityCountedFromTheClick)
{
    game.front_end.advance(20);  // t = 86
    press(key_p);
    game.front_end.advance(1000);
    EXPECT_EQ(game.state().row, -4.0f);
    game.form.Pause_Click();  // t = 1086
    game.front_end.advance(49);
    EXPECT_EQ(game.state().row, -4.0f);
    game.front_end.advance(1);
    EXPECT_EQ(game.state().row, -3.7f);
    EXPECT_EQ(game.ui().Timer2.interval(), 0);
}

TEST_F(Keys, ResumingAnOpenCurtainGivesNoCurtainTicks)
{
    game.front_end.advance(3000);  // the curtain opened after 14 ticks
    ASSERT_EQ(game.ui().Timer3.interval(), 0);
    const float top = game.ui().covertop.place.top;
    press(key_p);
    game.form.Pause_Click();
    game.front_end.advance(1000);
    EXPECT_EQ(game.ui().covertop.place.top, top);
    EXPECT_EQ(game.ui().Timer3.interval(), 0);
}

TEST_F(Keys, ResumingAfterGameOverGivesNoGravityTicks)
{
    game.lose_on_first_step();
    game.front_end.advance(50);
    ASSERT_TRUE(game.ui().Command1.visible);
    press(key_p);
    game.form.Pause_Click();
    game.front_end.advance(1000);
    EXPECT_EQ(game.state().row, -4.0f);
    EXPECT_EQ(game.state().blockcount, "0001");
    EXPECT_EQ(game.ui().Timer1.interval(), 0);
}

namespace controller {

enum class State { play, paused, game_over, question };

struct Reading {
    std::int64_t at;
    PadReading pad;
};

struct Row {
    const char* name;
    State state;
    std::vector<Reading> readings;
    std::vector<PadAction> expected;
};

constexpr PadReading released{};
constexpr PadReading left{.pad_left = true};
constexpr PadReading right{.pad_right = true};
constexpr PadReading up{.pad_up = true};
constexpr PadReading down{.pad_down = true};
constexpr PadReading bottom{.bottom = true};
constexpr PadReading right_button{.right = true};
constexpr PadReading start{.start = true};
constexpr PadReading stick(float x, float y) { return {.stick_x = x, .stick_y = y}; }

PadAction pressed(int code) { return {PadAction::Kind::key, code, {}}; }
PadAction clicked(const char* button) { return {PadAction::Kind::click, key::none, button}; }
const PadAction previous{PadAction::Kind::previous_answer, key::none, {}};
const PadAction next{PadAction::Kind::next_answer, key::none, {}};
const PadAction choose{PadAction::Kind::choose_answer, key::none, {}};

// Readings about a display frame apart, as a front end in play takes them.
std::vector<Reading> held_for(const PadReading& pad, std::int64_t until)
{
    std::vector<Reading> readings;
    for (std::int64_t at = 0; at <= until; at += 16) readings.push_back({at, pad});
    readings.push_back({until + 16, released});
    return readings;
}

const std::vector<Row> rows = {
    {"a tap moves one column", State::play, {{0, left}, {90, released}}, {pressed(key_left)}},
    {"held, a move repeats after 300 ms every 50 ms",
     State::play,
     held_for(right, 420),
     {pressed(key_right), pressed(key_right), pressed(key_right), pressed(key_right)}},
    {"a late reading moves once and the rate goes on from it",
     State::play,
     {{0, left}, {420, left}, {469, left}, {470, left}},
     {pressed(key_left), pressed(key_left), pressed(key_left)}},
    {"the other way moves at once and waits again",
     State::play,
     {{0, left}, {100, right}, {300, right}, {400, right}},
     {pressed(key_left), pressed(key_right), pressed(key_right)}},
    {"the stick inside its dead zone does nothing",
     State::play,
     {{0, stick(-0.45f, 0.0f)}, {20, stick(0.3f, 0.5f)}, {40, stick(0.0f, -0.5f)}},
     {}},
    {"the stick counts along the axis it leans furthest",
     State::play,
     {{0, stick(-0.8f, 0.6f)}, {20, stick(0.2f, 0.9f)}, {40, stick(0.7f, 0.69f)}},
     {pressed(key_left), pressed(key_down), pressed(key_right)}},
    {"the D-pad speaks before the stick", State::play, {{0, {.pad_left = true, .stick_x = 1.0f}}}, {pressed(key_left)}},
    {"buttons and the drop act once a press; up does nothing",
     State::play,
     {{0, bottom}, {16, bottom}, {32, right_button}, {48, right_button}, {64, down}, {80, down}, {96, up}},
     {pressed(key_a), pressed(key_s), pressed(key_down)}},
    {"a press of each in one reading: turns, drop, then Start",
     State::play,
     {{0, {.pad_down = true, .bottom = true, .right = true, .start = true}}},
     {pressed(key_a), pressed(key_s), pressed(key_down), pressed(key_p)}},
    {"Start in play pauses", State::play, {{0, start}, {16, start}}, {pressed(key_p)}},
    {"Start while paused clicks Pause", State::paused, {{0, start}}, {clicked("Pause")}},
    {"Start at game over plays again, and what follows answers the question",
     State::game_over,
     {{0, start}, {16, {.pad_right = true, .start = true}}, {32, released}, {48, bottom}},
     {clicked("Command1"), next, choose}},
    {"the question: back and forth without repeats; bottom or Start chooses",
     State::question,
     {{0, left},
      {400, left},
      {416, down},
      {432, up},
      {448, right},
      {464, stick(0.9f, 0.0f)},
      {480, bottom},
      {496, released},
      {512, start},
      {528, right_button}},
     {previous, next, previous, next, choose, choose}},
};

}  // namespace controller

TEST(Controller, TheTable)
{
    using controller::State;
    for (const controller::Row& row : controller::rows) {
        SCOPED_TRACE(row.name);
        HeadlessGame game;
        game.start(answer_no, {0.3f, 0.3f, 0.3f, 0.3f});
        game.front_end.advance(66);
        GamePort& port = game.form;
        ControllerMap map;
        if (row.state == State::paused) port.key_down(key_p);
        if (row.state == State::game_over) {
            game.lose_on_first_step();
            game.front_end.advance(50);
        }
        if (row.state == State::question) map.question_opened();
        ASSERT_EQ(map.in_play(port), row.state == State::play);

        std::vector<PadAction> actions;
        for (const controller::Reading& reading : row.readings) {
            for (const PadAction& action : map.read(reading.pad, reading.at, port)) {
                actions.push_back(action);
                // The game takes every key and click the controller gives, as it takes them
                // from a keyboard and a mouse.
                if (action.kind == PadAction::Kind::key) {
                    EXPECT_TRUE(port.key_down(action.code));
                }
                if (action.kind == PadAction::Kind::click) {
                    game.front_end.queue_answer(answer_no);
                    EXPECT_TRUE(port.click(action.button));
                }
            }
        }
        EXPECT_EQ(actions, row.expected);
        EXPECT_EQ(map.question_open(), row.state == State::game_over || row.state == State::question);
    }
}

}  // namespace

void PrintTo(const PadAction& action, std::ostream* out)
{
    static const char* const kinds[] = {"key", "click", "previous answer", "next answer", "choose answer"};
    *out << kinds[static_cast<int>(action.kind)];
    if (action.kind == PadAction::Kind::key) *out << ' ' << action.code;
    if (action.kind == PadAction::Kind::click) *out << ' ' << action.button;
}

}  // namespace vorbix
