// vorbix-replay's script language: the documented example, every kind of error, comments,
// clicks on hidden buttons, the dump before start and the way numbers are written.
#include "support/dump_reader.h"
#include "support/replay_run.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vorbix
