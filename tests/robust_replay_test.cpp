// Hostile scripts for vorbix-replay: NUL bytes, endless lines, numbers far out of range,
// tabs and CRLF line ends, storms of ticks, a day of time after the game is over, clicks on
// hidden buttons. Each one ends cleanly: exit 0, or exit 2 with one "line N: ..." message.
// And files that cannot be read or written, or are there already, for both programs: a
// message and a status that says so, and nothing overwritten.
#include "support/game_watch.h"
#include "support/replay_run.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

namespace vorbix::testing {
namespace {

using namespace std::string_literals;

ReplayRun replay(const std::string& script) { return run_replay(script); }

bool any_timer_live(const Replay& game)
{
    const auto timers = game.view().timers;
    return std::any_of(timers.begin(), timers.end(), [](const Timer* timer) { return timer->live(); });
}

// The two clean ends of a run.
MATCHER(RunsToTheEnd, "exits 0 with nothing on standard error")
{
    *result_listener << "exit " << arg.status << ", error \"" << arg.error << "\"";
    return arg.status == 0 && arg.error.empty();
}

MATCHER_P(StopsAtLine, line, "exits 2 with one \"line N: ...\" message for line " + std::to_string(line))
{
    *result_listener << "exit " << arg.status << ", error \"" << arg.error << "\"";
    const std::regex one_message("line " + std::to_string(line) + ": [^\n]{1,200}\n");
    return arg.status == 2 && std::regex_match(arg.error, one_message);
}

const std::string opening = "answer no\nrandom 0.5\nstart\n";

TEST(HostileReplay, NulBytesAreNotCommands)
{
    EXPECT_THAT(replay(opening + "start\0\n"s), StopsAtLine(4));
    EXPECT_THAT(replay("\0\0\0\n"s), StopsAtLine(1));
    EXPECT_THAT(replay(opening + "key 3\0007\n"s), StopsAtLine(4));
    EXPECT_THAT(replay(opening + "advance\0 100\n"s), StopsAtLine(4));
    EXPECT_THAT(replay(opening + "key 37 \0\n"s), StopsAtLine(4));
    // Behind a comment mark anything goes.
    EXPECT_THAT(replay(opening + "# \0\0\n"s + "dump\n"), RunsToTheEnd());
}

TEST(HostileReplay, VeryLongLinesGiveAShortMessage)
{
    // Up to 4096 bytes a line is read as any other; a longer one, whatever it holds, is
    // refused as soon as it passes the limit.
    const std::size_t longest = 4096;
    for (const std::string& too_long : {std::string(4 << 20, 'k'), "key " + std::string(1 << 20, '7'),
                                        "#" + std::string(longest, 'k'), "dump" + std::string(longest, '\t')}) {
        const ReplayRun run = replay(opening + too_long + "\n");
        EXPECT_THAT(run, StopsAtLine(4));
        EXPECT_THAT(run.error, ::testing::HasSubstr("longer than 4096 bytes"));
    }
    EXPECT_THAT(replay(opening + "advance " + std::string(longest - 9, '0') + "1\n"), RunsToTheEnd());
    EXPECT_THAT(replay(opening + std::string(longest, ' ') + "\n" + "#" + std::string(longest - 1, 'k') + "\n"),
                RunsToTheEnd());
    EXPECT_THAT(replay(opening + "dump" + std::string(longest - 4, '\t') + "\n"), RunsToTheEnd());
}

TEST(HostileReplay, HugeNumbersAreOutOfRange)
{
    const std::string huge = "99999999999999999999";
    for (const std::string& line :
         std::vector<std::string>{"advance " + huge, "key " + huge, "tick " + huge, "tick 1 " + huge, "clock " + huge,
                                  "random " + huge, "random 1e99999", "advance 86400001", "key 65536", "tick 1 1000001",
                                  "tick 4", "clock 86400", "random 1"}) {
        SCOPED_TRACE(line);
        EXPECT_THAT(replay(opening + line + "\n"), StopsAtLine(4));
    }
}

TEST(HostileReplay, NegativeAndMalformedNumbersAreRefused)
{
    for (const std::string& line :
         std::vector<std::string>{"advance -1", "key -37", "tick -1", "tick 1 -5", "clock -1", "random -0.5",
                                  "random nan", "random inf", "random -inf", "random 0x0.8", "key +37", "key 37.0",
                                  "key 3e1", "advance 1_000", "tick 0", "answer maybe", "answer", "key", "start now"}) {
        SCOPED_TRACE(line);
        EXPECT_THAT(replay(opening + line + "\n"), StopsAtLine(4));
    }
}

TEST(HostileReplay, TabsSeparateWordsAndCrlfEndsLines)
{
    const std::string script = "answer\tno\n\trandom 0.5\nstart\t\nkey\t\t37\nadvance 500\ndump\n";
    const ReplayRun tabs = replay(script);
    EXPECT_THAT(tabs, RunsToTheEnd());
    std::string crlf;
    for (const char c : script) crlf += c == '\n' ? "\r\n"s : std::string(1, c);
    const ReplayRun windows = replay(crlf);
    EXPECT_THAT(windows, RunsToTheEnd());
    EXPECT_EQ(windows.out, tabs.out);
    EXPECT_FALSE(tabs.out.empty());
    // A lone carriage return is a blank too, not a line end: the line holds two words.
    EXPECT_THAT(replay("answer no\rstart\n"), StopsAtLine(1));
}

TEST(HostileReplay, TickStormsEndWithTheGame)
{
    const ReplayRun run = replay(opening + "tick 2 1000000\ntick 3 1000000\ntick 1 1000000\ntick 1 1000000\n" +
                                 "tick 2 1000000\ntick 3 1000000\ndump\n");
    ASSERT_THAT(run, RunsToTheEnd());
    // Gravity with nobody steering fills the well: the game is over and nothing ticks any more.
    EXPECT_THAT(run.out, ::testing::HasSubstr(R"("Command1":{)"));
    Replay game;
    for (const char* line : {"answer yes", "start", "tick 2 1000000", "tick 1 1000000"}) game.run_line(line);
    EXPECT_TRUE(game.form().controls->Command1.visible);
    EXPECT_EQ(game.form().controls->Timer1.interval(), 0);
}

TEST(HostileReplay, ADayAfterTheGameIsOverHasNoTimerToRun)
{
    Replay game;
    for (const char* line : {"answer no", "start", "advance 86400000"}) game.run_line(line);
    ASSERT_TRUE(game.form().controls->Command1.visible) << "a day of gravity did not end the game";
    // With no live timer a day passes without a single tick, however often it is asked for.
    EXPECT_FALSE(any_timer_live(game));
    const GameState before = game.form().state;
    for (int n = 0; n < 1000; ++n) game.run_line("advance 86400000");
    EXPECT_EQ(game.front_end().now(), 1001LL * 86400000);
    EXPECT_EQ(game.form().state.row, before.row);
    EXPECT_EQ(game.form().state.blockcount, before.blockcount);

    // Paused and resumed after the end, still nothing runs.
    for (const char* line : {"key 80", "advance 86400000", "click Pause", "advance 86400000"}) game.run_line(line);
    EXPECT_FALSE(any_timer_live(game));
}

TEST(HostileReplay, HiddenButtonsCannotBeClicked)
{
    Replay game;
    for (const char* line : {"answer no", "random 0.5", "start", "advance 200"}) game.run_line(line);
    const std::string before = game.dump();
    game.run_line("click Command1");
    game.run_line("click Pause");
    EXPECT_EQ(game.dump(), before);
    EXPECT_EQ(game.front_end().asked(), 1);

    EXPECT_THAT(replay(opening + "click pause\n"), StopsAtLine(4));
    EXPECT_THAT(replay(opening + "click Form1\n"), StopsAtLine(4));
    EXPECT_THAT(replay(opening + "click\n"), StopsAtLine(4));
    EXPECT_THAT(replay("answer no\nclick Pause\n"), StopsAtLine(2));
    EXPECT_THAT(replay(opening + "click Command1\nclick Pause\nclick Command1\ndump\n"), RunsToTheEnd());
}

TEST(HostileReplay, AQuestionWithNoAnswerStopsTheRun)
{
    EXPECT_THAT(replay("start\n"), StopsAtLine(1));
    // The restart asks again; with no answer left the run stops at the click.
    EXPECT_THAT(replay(opening + "advance 86400000\nclick Command1\ndump\n"), StopsAtLine(5));
    const ReplayRun run = replay(opening + "dump\nadvance 86400000\nclick Command1\ndump\n");
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1) << "a dump after the error";

    // The window of the unanswered question loads whole all the same, as No would have it.
    Replay game;
    EXPECT_THROW(game.run_line("start"), ScriptError);
    EXPECT_EQ(GameWatch().check(game.form()), "");
}

TEST(HostileReplayProgram, BinaryInputEndsWithALineMessage)
{
    std::string noise;
    for (int n = 0; n < 4096; ++n) noise += static_cast<char>((n * 7919 + 13) % 256);
    const ReplayRun binary = run_program(opening + noise);
    EXPECT_EQ(binary.status, 2);
    EXPECT_TRUE(std::regex_match(binary.error, std::regex("line [0-9]+: [^\n]{1,200}\n"))) << binary.error;
    EXPECT_THAT(run_program(opening + "tick 2 1000000\r\ntick 1 1000000\r\nadvance 86400000\r\ndump\r\n"),
                RunsToTheEnd());
}

// A file that cannot be read or written, or that is there already: a program run in a
// fresh folder after a setup, its status, a part of its message, and what holds afterwards.
struct FileCase {
    const char* name;
    std::string setup;
    std::string command;
    int status;
    std::string message;
    std::string afterwards;
};

const std::string replay_program = VORBIX_REPLAY_PROGRAM;
const std::string three_dumps = "answer no\nstart\ndump\nadvance 100\ndump\nadvance 100\ndump\n";

std::vector<FileCase> file_cases()
{
    std::vector<FileCase> cases = {
        {"a folder as the script", "mkdir folder", replay_program + " folder", 2,
         "vorbix-replay: cannot read folder: Is a directory\n", ""},
        {"output that cannot be written", "echo dump > game.txt", replay_program + " game.txt > /dev/full", 2,
         "cannot write the dump: No space left on device", ""},
        {"pictures into the folder of a longer run",
         "printf '" + three_dumps + "' > three.txt && " + replay_program + " --png frames three.txt",
         "printf 'dump\\n' | " + replay_program + " --png frames", 2, "holds pictures of an earlier run",
         "[ $(ls frames | wc -l) = 3 ]"},
        {"pictures over a longer run, told to replace them",
         "printf '" + three_dumps + "' > three.txt && " + replay_program +
             " --png frames three.txt && touch frames/notes",
         "printf 'dump\\n' | " + replay_program + " --png frames --overwrite", 0, "",
         "[ \"$(ls frames | tr '\\n' ' ')\" = 'dump-0001.png notes ' ]"},
        {"a byte-order mark", "printf '\\357\\273\\277answer no\\n' > mark.txt", replay_program + " mark.txt", 2,
         "line 1: the line begins with a byte-order mark (\\xef\\xbb\\xbf)", ""},
        {"a no-break space", "printf 'answer\\302\\240no\\n' > space.txt", replay_program + " space.txt", 2,
         "line 1: unknown command \"answer\\xc2\\xa0no\"", ""},
        {"a control byte and a character across the cut", "printf 'key\\233%035d\\303\\251\\n' 0 > bytes.txt",
         replay_program + " bytes.txt", 2, "unknown command \"key\\x9b" + std::string(35, '0') + "\\xc3...\"",
         "! LC_ALL=C grep -q '[^ -~]' err"},
    };
#ifdef VORBIX_GAME_PROGRAM
    // The game needs no display to refuse a file: Qt's offscreen platform stands in.
    const std::string game = std::string("env QT_QPA_PLATFORM=offscreen ") + VORBIX_GAME_PROGRAM;
    const std::vector<FileCase> game_cases = {
        {"watching an empty file", ": > empty.txt", game + " --watch empty.txt", 2,
         "cannot watch empty.txt: it has no \"start\" line", ""},
        {"watching a script without a start", "echo 'answer no' > answer.txt", game + " --watch answer.txt", 2,
         "cannot watch answer.txt: it has no \"start\" line", ""},
        {"watching an endless device", "", game + " --watch /dev/zero", 2, "cannot watch /dev/zero: it is not a file",
         ""},
        {"watching a pipe nobody writes to", "mkfifo pipe", game + " --watch pipe", 2,
         "cannot watch pipe: it is not a file", ""},
        {"recording over a file that is there", "echo kept > keep.txt", game + " --record keep.txt", 2,
         "cannot record to keep.txt: the file exists (--overwrite replaces it)", "[ \"$(cat keep.txt)\" = kept ]"},
        {"recording through a link planted in the folder", "echo kept > target && ln -s target link.txt",
         game + " --record link.txt --overwrite", 2, "cannot record to link.txt: it is a symbolic link",
         "[ \"$(cat target)\" = kept ]"},
    };
    cases.insert(cases.end(), game_cases.begin(), game_cases.end());
#endif
    return cases;
}

TEST(FileFailures, AreToldWithTheirStatusAndOverwriteNothing)
{
    const std::vector<FileCase> cases = file_cases();
    for (std::size_t n = 0; n < cases.size(); ++n) {
        const FileCase& row = cases[n];
        SCOPED_TRACE(row.name);
        const std::string folder = ::testing::TempDir() + "file_case_" + std::to_string(n);
        std::string script = "rm -rf " + folder;
        script += " && mkdir -p " + folder;
        script += " && cd " + folder;
        script += " && { " + (row.setup.empty() ? std::string(":") : row.setup) + "; } >/dev/null 2>&1";
        script += " && { timeout 20 " + row.command + "; } >out 2>err; echo $? > status; ";
        script += row.afterwards.empty() ? std::string("true") : row.afterwards;
        const int afterwards = std::system(("bash -c " + shell_quoted(script)).c_str());
        EXPECT_EQ(std::stoi(file_text(folder + "/status")), row.status) << file_text(folder + "/err");
        EXPECT_THAT(file_text(folder + "/err"), ::testing::HasSubstr(row.message));
        EXPECT_EQ(afterwards, 0) << "afterwards: " << row.afterwards;
    }
}

}  // namespace
}  // namespace vorbix::testing
