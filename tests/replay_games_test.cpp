// Whole games played from scripts in tests/replay/: each <name>.txt runs in-process and its
// dumps are checked against the members listed in <name>.expected, each worked out by hand.
// On a mismatch the differing members are printed and the dumps are kept in <name>.actual.
//
// Expectation lines read "dump N: PATH = VALUE": N counts the script's dumps from 1, PATH is
// a member path ("state.row", "timers[0].interval", "Shape2[6]") or a pool summary
// ("Shape2#settled": visible grid sprites inside the walls; "Shape1#visible"; "Shape2#count"),
// and VALUE is compact JSON. Lines starting with "#" and blank lines are ignored.
#include "support/dump_reader.h"
#include "support/replay_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace vorbix {
namespace {

using testing::Dump;
using testing::ReplayRun;

struct Expectation {
    int line;
    std::size_t dump;
    std::string path;
    std::string value;
};

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::vector<Expectation> read_expectations(const std::filesystem::path& path)
{
    std::vector<Expectation> expectations;
    int number = 0;
    for (const std::string& raw : testing::lines_of(testing::file_text(path.string()))) {
        ++number;
        const std::string line = trimmed(raw);
        if (line.empty() || line[0] == '#') continue;
        const auto colon = line.find(':');
        const auto equals = line.find(" = ");
        if (line.rfind("dump ", 0) != 0 || colon == std::string::npos || equals == std::string::npos) {
            ADD_FAILURE() << path.filename().string() << ":" << number << ": not an expectation: " << line;
            continue;
        }
        expectations.push_back({number, std::stoul(line.substr(5, colon - 5)),
                                trimmed(line.substr(colon + 1, equals - colon - 1)), trimmed(line.substr(equals + 3))});
    }
    return expectations;
}

void check_game(const std::string& name, std::size_t dump_count)
{
    const std::filesystem::path dir = VORBIX_REPLAY_SCRIPTS;
    const ReplayRun run = testing::run_replay(testing::file_text((dir / (name + ".txt")).string()));
    EXPECT_EQ(run.status, 0);
    for (const std::string& error : run.errors) ADD_FAILURE() << name << ".txt " << error;
    EXPECT_EQ(run.dumps.size(), dump_count);

    std::vector<Dump> dumps;
    for (const std::string& line : run.dumps) dumps.emplace_back(line);
    const std::vector<Expectation> expectations = read_expectations(dir / (name + ".expected"));
    EXPECT_FALSE(expectations.empty());
    int mismatches = 0;
    for (const Expectation& e : expectations) {
        std::string actual = "(no such dump)";
        if (e.dump >= 1 && e.dump <= dumps.size()) actual = dumps[e.dump - 1].at(e.path).value_or("(no such member)");
        if (actual != e.value) {
            ++mismatches;
            ADD_FAILURE() << name << ".expected:" << e.line << ": dump " << e.dump << ": " << e.path << "\n  expected "
                          << e.value << "\n  actual   " << actual;
        }
    }
    const auto actual_file = dir / (name + ".actual");
    if (mismatches > 0 || run.status != 0) {
        std::ofstream out(actual_file);
        for (const std::string& line : run.dumps) out << line << '\n';
        for (const std::string& line : run.errors) out << line << '\n';
    } else {
        std::filesystem::remove(actual_file);
    }
}

TEST(ReplayGames, NormalGameWithARowClearedThenHardModeAfterTheRestart) { check_game("normal_game", 8); }

TEST(ReplayGames, HardGameToAnEarlyGameOverThenNormalModeAgain) { check_game("hard_game", 7); }

}  // namespace
}  // namespace vorbix
