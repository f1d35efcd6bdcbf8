// vorbix-replay's script language: the documented example, every kind of error, comments,
// clicks on hidden buttons, the dump before start and the way numbers are written; lines
// written and read back; a game recorded and replayed; a script played at its own pace.
#include "script/dump.h"
#include "script/playback.h"
#include "script/reader.h"
#include "script/recorder.h"
#include "script/writer.h"
#include "support/dump_reader.h"
#include "support/headless_game.h"
#include "support/replay_run.h"

#include <gtest/gtest.h>

#include <sstream>

namespace vorbix {
namespace {

using testing::Dump;
using testing::ReplayRun;
using testing::run_replay;

const char* const example = "answer no\nrandom 0.5\nrandom 0.1\nstart\nadvance 100\ndump\n";

// Eleven squares (piece 5) dropped fast at the spawn column stack up to the top wall: each
// lands two rows higher than the one before, the tenth fills rows 1 and 2, and the eleventh
// settles its upper cells in the top wall row.
std::string squares_to_game_over()
{
    std::string script = "answer no\n";
    for (int i = 0; i < 13; ++i) script += "random 0.6\n";
    script += "start\nadvance 66\n";
    for (const int steps : {21, 19, 17, 15, 13, 11, 9, 7, 5, 3, 2}) {
        script += "key 40\ntick 1 " + std::to_string(steps) + "\n";
    }
    return script + "dump\n";
}

TEST(ReplayExample, StartsANormalGameAsDocumented)
{
    const ReplayRun run = run_replay(example);
    ASSERT_EQ(run.status, 0);
    ASSERT_TRUE(run.errors.empty());
    ASSERT_EQ(run.dumps.size(), 1u);
    const Dump dump(run.dumps[0]);
    EXPECT_EQ(dump.at("t"), "100");
    EXPECT_EQ(dump.at("asked"), "1");
    EXPECT_EQ(dump.at("state.piece"), "4");
    EXPECT_EQ(dump.at("state.nextpiece"), "1");
    EXPECT_EQ(dump.at("state.row"), "-4");
    EXPECT_EQ(dump.at("state.col"), "3");
    EXPECT_EQ(dump.at("state.rotation"), "1");
    EXPECT_EQ(dump.at("state.fallstep"), "0.3");
    EXPECT_EQ(dump.at("state.difficulty"), "7");
    EXPECT_EQ(dump.at("timers[0]"), R"({"interval":50,"enabled":true})");
    EXPECT_EQ(dump.at("timers[1].interval"), "0");
    EXPECT_EQ(dump.at("Shape1#visible"), "[]");
    EXPECT_EQ(dump.find("Shape1")->size(), 17u);
    EXPECT_EQ(dump.find("Shape2")->size(), 265u);
    EXPECT_EQ(dump.find("Shape3")->size(), 17u);
    // The preview shows piece 1: "0010" over "1110" in mask rows 3 and 4.
    EXPECT_EQ(dump.at("Shape3#visible"), "[11,13,14,15]");
}

TEST(ReplayExample, TheProgramPrintsWhatTheEngineDoes)
{
    const ReplayRun in_process = run_replay(example);
    for (const bool from_input : {false, true}) {
        const ReplayRun run = testing::run_program(example, from_input);
        EXPECT_EQ(run.status, 0) << from_input;
        EXPECT_EQ(run.out, in_process.out) << from_input;
        EXPECT_EQ(run.error, "") << from_input;
    }
    const ReplayRun broken = testing::run_program("answer no\nstart\ndump\nkey 65536\ndump\n");
    EXPECT_EQ(broken.status, 2);
    EXPECT_EQ(broken.dumps.size(), 1u);
    EXPECT_EQ(broken.error.rfind("line 4: ", 0), 0u) << broken.error;
    EXPECT_EQ(broken.errors.size(), 1u);
}

struct BadScript {
    const char* name;
    std::string script;
    int line;
    std::size_t dumps_before;
};

TEST(ReplayErrors, StopTheRunWithOneLineNamingTheLine)
{
    const std::string started = "answer no\nstart\ndump\n";  // the dump is line 3
    const BadScript table[] = {
        {"unknown command", started + "jump 3\ndump\n", 4, 1},
        {"keyword in capitals", started + "DUMP\n", 4, 1},
        {"advance past one day", started + "advance 86400001\ndump\n", 4, 1},
        {"negative advance", started + "advance -1\n", 4, 1},
        {"key above 16 bits", started + "key 65536\n", 4, 1},
        {"key that is not whole", started + "key 3.5\n", 4, 1},
        {"timer 4", started + "tick 4\n", 4, 1},
        {"timer 0", started + "tick 0\n", 4, 1},
        {"tick count above a million", started + "tick 1 1000001\n", 4, 1},
        {"random of 1", "random 1\n", 1, 0},
        {"negative random", "dump\nrandom -0.1\n", 2, 1},
        {"clock of a whole day", "clock 86400\n", 1, 0},
        {"answer maybe", "answer maybe\n", 1, 0},
        {"a button that does not exist", started + "click Start\n", 4, 1},
        {"key before start", "answer no\nkey 37\nstart\n", 2, 0},
        {"advance before start", "dump\nadvance 10\n", 2, 1},
        {"tick before start", "tick 1\n", 1, 0},
        {"click before start", "click Pause\n", 1, 0},
        {"a second start", "answer no\nanswer no\nstart\ndump\nstart\ndump\n", 5, 1},
        {"no answer at start", "random 0.5\nstart\ndump\n", 2, 0},
        {"no answer at the restart", squares_to_game_over() + "click Command1\ndump\n",
         static_cast<int>(testing::lines_of(squares_to_game_over()).size()) + 1, 1},
    };
    for (const BadScript& bad : table) {
        const ReplayRun run = run_replay(bad.script);
        EXPECT_EQ(run.status, 2) << bad.name;
        EXPECT_EQ(run.dumps.size(), bad.dumps_before) << bad.name;
        ASSERT_EQ(run.errors.size(), 1u) << bad.name;
        const std::string prefix = "line " + std::to_string(bad.line) + ": ";
        EXPECT_EQ(run.errors[0].rfind(prefix, 0), 0u) << bad.name << ": " << run.errors[0];
        EXPECT_GT(run.errors[0].size(), prefix.size()) << bad.name;
    }
}

TEST(ReplayErrors, TheLimitsThemselvesAreAccepted)
{
    const ReplayRun run = run_replay(
        "clock 86399\nclock 0\nrandom 0\nrandom 0.9999999\nanswer yes\nstart\nkey 65535\nkey 0\n"
        "tick 3 0\ntick 1 1000000\nadvance 0\nkey 80\nadvance 86400000\ndump\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.errors.empty()) << run.errors.at(0);
    ASSERT_EQ(run.dumps.size(), 1u);
    EXPECT_EQ(Dump(run.dumps[0]).at("t"), "86400000");
}

TEST(ReplayScript, CommentsAndBlankLinesAreIgnoredButCounted)
{
    const ReplayRun good = run_replay("# a game\n\n   \n\t# indented\nanswer no\n  start  \ndump\n");
    EXPECT_EQ(good.status, 0);
    EXPECT_EQ(good.dumps.size(), 1u);
    const ReplayRun bad = run_replay("# one\n\n# three\n   \nbogus\n");
    ASSERT_EQ(bad.errors.size(), 1u);
    EXPECT_EQ(bad.errors[0].rfind("line 5: ", 0), 0u) << bad.errors[0];
}

TEST(ReplayScript, AClickOnAHiddenButtonDoesNothing)
{
    const ReplayRun run = run_replay("answer no\nstart\nadvance 10\ndump\nclick Pause\nclick Command1\ndump\n");
    EXPECT_EQ(run.status, 0);
    ASSERT_EQ(run.dumps.size(), 2u);
    EXPECT_EQ(run.dumps[0], run.dumps[1]);
    EXPECT_EQ(Dump(run.dumps[1]).at("asked"), "1");
}

TEST(ReplayScript, GameOverShowsTheButtonAndAClickRestarts)
{
    const ReplayRun run = run_replay(squares_to_game_over() + "answer yes\nclick Command1\ndump\n");
    ASSERT_EQ(run.status, 0) << run.errors.at(0);
    ASSERT_EQ(run.dumps.size(), 2u);
    const Dump over(run.dumps[0]);
    EXPECT_EQ(over.at("buttons.Command1"), R"({"left":1824.5,"top":2124.5,"width":2655,"height":2175,"visible":true})");
    EXPECT_EQ(over.at("timers[0].interval"), "0");
    // Eleven squares, each 5 for the fast drop and 10 for landing.
    EXPECT_EQ(over.at("state.score"), R"("000165")");
    EXPECT_EQ(over.at("state.blockcount"), R"("0011")");
    // The last square's upper cells went into the top wall row, columns 5 and 6.
    EXPECT_EQ(over.at("Shape2[6]"), R"([1520,50,292,292,"#963c96",5,1])");
    EXPECT_EQ(over.at("Shape2[7]"), R"([1812,50,292,292,"#963c96",5,1])");
    const Dump again(run.dumps[1]);
    EXPECT_EQ(again.at("asked"), "2");
    EXPECT_EQ(again.at("buttons.Command1.visible"), "false");
    EXPECT_EQ(again.at("labels.hscorelabel.text"), R"("HiScore:000165")");
    EXPECT_EQ(again.at("labels.Level.visible"), "true");
    EXPECT_EQ(again.at("Shape2#count"), "64");
    EXPECT_EQ(again.at("timers[1]"), R"({"interval":1,"enabled":true})");
}

TEST(ReplayDump, BeforeStartShowsTheDesign)
{
    const ReplayRun run = run_replay("dump\n");
    ASSERT_EQ(run.dumps.size(), 1u);
    const Dump dump(run.dumps[0]);
    EXPECT_EQ(dump.at("t"), "0");
    EXPECT_EQ(dump.at("asked"), "0");
    EXPECT_EQ(dump.at("window"), R"({"shown":false,"caption":"Vorbix","outer_width":5970,"outer_height":6375,)"
                                 R"("client_width":5850,"client_height":5925})");
    EXPECT_EQ(dump.at("timers"),
              R"([{"interval":0,"enabled":true},{"interval":5,"enabled":true},{"interval":200,"enabled":true}])");
    EXPECT_EQ(dump.at("Shape1"), R"([[360,600,495,495,"#0000c0",1,0]])");
    EXPECT_EQ(dump.at("Shape2"), R"([[1560,600,495,495,"#ff0000",7,0]])");
    EXPECT_EQ(dump.at("Shape3"), R"([[720,1440,495,495,"#00ff00",1,0]])");
    EXPECT_EQ(dump.at("state.piece"), "0");
    EXPECT_EQ(dump.at("state.row"), "0");
    EXPECT_EQ(dump.at("state.score"), R"("")");
    EXPECT_EQ(dump.at("state.hiscore"), R"("")");
    EXPECT_EQ(dump.at("state.rowcount"), R"("")");
    EXPECT_EQ(dump.at("labels.scorelabel.text"), R"("Score:000000")");
    EXPECT_EQ(dump.at("labels.npiece.left"), "3600");
    EXPECT_EQ(dump.at("buttons.Pause"), R"({"left":1560,"top":240,"width":3015,"height":1935,"visible":false})");
    EXPECT_EQ(dump.at("curtain.cot"), R"({"width":495,"height":495})");
    EXPECT_EQ(dump.at("backdrop"), R"({"left":3600,"top":1440,"width":1575,"height":1575})");
}

TEST(ReplayDump, NumbersAreWrittenShortAndWhole)
{
    const ReplayRun run =
        run_replay("answer no\nrandom 0.3\nrandom 0.3\nstart\nadvance 66\ntick 1 10\ndump\nkey 40\ndump\n");
    ASSERT_EQ(run.dumps.size(), 2u);
    const std::string& text = run.dumps[0];
    EXPECT_NE(text.find(R"("row":-1.0000005,)"), std::string::npos);
    EXPECT_NE(text.find(R"("fallstep":0.3,)"), std::string::npos);
    EXPECT_NE(text.find(R"("cellsize":292,)"), std::string::npos);
    EXPECT_NE(text.find(R"("left":4176.5,)"), std::string::npos);  // npiece and backdrop
    EXPECT_NE(text.find(R"("score":"000000")"), std::string::npos);
    EXPECT_NE(text.find(R"("landed":0,)"), std::string::npos);
    const Dump dump(text);
    EXPECT_EQ(dump.at("labels.npiece.left"), "4176.5");
    EXPECT_EQ(dump.at("backdrop.left"), "4176.5");
    EXPECT_EQ(dump.at("labels.scorelabel.left"), "4034");
    // The bar fills box row 4: sprites 13 to 16.
    EXPECT_EQ(dump.at("Shape1#visible"), "[13,14,15,16]");
    // After the fast drop the score is a number.
    EXPECT_EQ(Dump(run.dumps[1]).at("state.score"), "5");
    EXPECT_EQ(Dump(run.dumps[1]).at("state.fallstep"), "1");
}

TEST(ScriptLines, EveryCommandIsWrittenAsItIsRead)
{
    using namespace script;
    const std::pair<Command, const char*> table[] = {
        {Answer{answer_yes}, "answer yes"},
        {Answer{answer_no}, "answer no"},
        {Random{0.3f}, "random 0.3"},
        {Clock{86399}, "clock 86399"},
        {Start{}, "start"},
        {Advance{86400000}, "advance 86400000"},
        {Tick{TimerId::timer2}, "tick 2"},
        {Tick{TimerId::timer3, 1000000}, "tick 3 1000000"},
        {Key{key::left}, "key 37"},
        {Click{"Command1"}, "click Command1"},
        {script::Dump{}, "dump"},
        {Moment{1234}, "# @1234"},
    };
    for (const auto& [command, line] : table) {
        EXPECT_EQ(line_of(command), line);
        EXPECT_EQ(read_line(line), command) << line;
    }
    // Comments of every other kind are nothing to the reader, a moment with words after it too.
    for (const char* comment : {"# @12 the recording ends", "#@12", "# @-1", "# @", "# moment", "#"}) {
        EXPECT_EQ(read_line(comment), std::nullopt) << comment;
    }
    EXPECT_EQ(read_line(comment_line("@5 text")), std::nullopt);
}

// A sink that keeps the recording in memory, and stops taking it after a number of writes.
struct MemorySink final : RecordingSink {
    std::optional<std::string> write(std::string_view more) override
    {
        if (writes_left-- == 0) return std::string("full");
        text += more;
        return std::nullopt;
    }
    std::string text;
    int writes_left = 1000;
};

// A game played through the recorder on the headless front end, one tick of time at a time.
class RecordedGame : public ::testing::Test {
protected:
    RecordedGame() { front_end.set_clock(4321); }

    void play(int answer)
    {
        front_end.queue_answer(answer);
        recorder.start();
        for (int step = 0; step < 400; ++step) {
            front_end.advance(7);
            now += 7;
            if (step % 9 == 0) recorder.key_down(step % 2 == 0 ? key::left : key::a);
            if (step % 50 == 0) recorder.key_down(key::down);
        }
    }

    // The live game's dump, as a replay of its recording would show it: a recording holds
    // ticks, not time, so its replay's clock stands at 0.
    std::string live_dump() const { return dump_json({0, front_end.asked()}, game.state, *game.window()); }

    HeadlessFrontEnd front_end;
    MemorySink sink;
    std::int64_t now = 0;
    Recorder recorder{front_end, sink, "a test", [this] { return now; }};
    Form1 game{recorder};
};

TEST_F(RecordedGame, ReplaysToTheSameState)
{
    play(answer_yes);
    std::istringstream recording(sink.text);
    Replay replay;
    ASSERT_EQ(replay.run(recording), std::nullopt);
    EXPECT_EQ(replay.dump(), live_dump());
    EXPECT_EQ(sink.text.rfind("# a test\n# @0\nanswer yes\nclock 4321\nstart\n", 0), 0u) << sink.text.substr(0, 80);
    EXPECT_NE(sink.text.find("\n# @7\nkey 37\nkey 40\ntick 2\n"), std::string::npos) << "moments go before events";
}

TEST_F(RecordedGame, ThatStopsKeepsItsWholeEventsAndPlaysOn)
{
    sink.writes_left = 40;
    std::vector<std::string> stops;
    recorder.on_stop([&](const std::string& failure) { stops.push_back(failure); });
    play(answer_no);
    EXPECT_EQ(stops, std::vector<std::string>{"full"});
    EXPECT_EQ(recorder.failure(), "full");
    EXPECT_EQ(sink.text.back(), '\n');
    EXPECT_GT(game.state.blockcount.size(), 0u) << "the game played on";
    std::istringstream recording(sink.text);
    EXPECT_EQ(Replay().run(recording), std::nullopt) << "what was kept replays";
}

// A script played at its own pace: when each line falls due, pauses and the end.
ScriptToPlay to_play(const std::string& text)
{
    std::istringstream stream(text);
    script::Lines lines = script::Lines::of(stream);
    return script_to_play(lines);
}

std::vector<script::Command> commands_of(const std::string& text)
{
    ScriptToPlay script = to_play(text);
    if (script.stopped) ADD_FAILURE() << *script.stopped;
    return script.commands;
}

TEST(Playback, EventsComeAtTheirMomentsAndAPauseStopsTheirTime)
{
    Playback playback(commands_of("answer no\n# @1000\nstart\n# @1600\ntick 2\n# @1700\nkey 37\ndump\n"));
    EXPECT_EQ(playback.next_due(), 0);
    playback.play(0);
    EXPECT_TRUE(playback.replay().started()) << "the first moment is the playback's start";
    EXPECT_EQ(playback.next_due(), 600);
    EXPECT_FALSE(playback.key(key::left, 200)) << "only P reaches the playback";
    EXPECT_EQ(playback.next_due(), 600);
    EXPECT_TRUE(playback.key(key::p, 300));
    EXPECT_EQ(playback.next_due(), std::nullopt);
    playback.play(5000);
    EXPECT_EQ(playback.replay().form().state.piece, 0) << "nothing runs while paused";
    EXPECT_TRUE(playback.key(key::p, 800));
    EXPECT_EQ(playback.next_due(), 1100) << "500 ms of pause";
    playback.play(1099);
    EXPECT_EQ(playback.next_due(), 1100);
    playback.play(1200);
    EXPECT_TRUE(playback.ended());
    EXPECT_EQ(playback.next_due(), std::nullopt);
}

TEST(Playback, WithoutMomentsTicksKeepTheirTimersIntervalsAndTimePassesInRealTime)
{
    Playback playback(commands_of("answer no\nstart\ntick 3\ntick 3\nadvance 1000\ndump\n"));
    playback.play(0);
    EXPECT_EQ(playback.next_due(), 200) << "Timer3 ticks every 200 ms";
    playback.play(200);
    EXPECT_EQ(playback.next_due(), 400);
    playback.play(400);
    const auto next_tick = playback.replay().front_end().next_due();
    ASSERT_TRUE(next_tick);
    EXPECT_EQ(playback.next_due(), 400 + *next_tick) << "the advance wakes for the game's next tick";
    playback.play(900);
    EXPECT_EQ(playback.replay().front_end().now(), 500);
    EXPECT_FALSE(playback.ended());
    playback.play(1400);
    EXPECT_EQ(playback.replay().front_end().now(), 1000);
    EXPECT_TRUE(playback.ended());
}

TEST(Playback, AScriptIsPlayedUpToItsFirstFaultyOrCutOffLine)
{
    const struct {
        const char* script;
        std::size_t commands;
        const char* stopped;
        bool starts;
    } table[] = {
        {"answer no\nstart\nkey 37\n", 3, "", true},
        {"answer no\nstart\nkey 37\nkey 99999\nkey 39\n", 3, "line 4: number out of range", true},
        {"answer no\nstart\ntick 2\nke", 3, "line 4: the line has no end", true},
        {"answer no\nstart\nkey 37", 2, "line 3: the line has no end", true},
        {"answer no\n", 1, "", false},
        {"", 0, "", false},
        {"start\n", 0, "line 1: the question", false},
    };
    for (const auto& row : table) {
        const ScriptToPlay script = to_play(row.script);
        EXPECT_EQ(script.commands.size(), row.commands) << row.script;
        EXPECT_EQ(script.starts(), row.starts) << row.script;
        EXPECT_EQ(script.stopped.value_or("").rfind(row.stopped, 0), 0u) << row.script << ": " << *script.stopped;
    }
}

}  // namespace
}  // namespace vorbix
