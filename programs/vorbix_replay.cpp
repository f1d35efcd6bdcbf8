// vorbix-replay: runs a script of answers, keys, clicks and time against the headless game
// and prints a JSON dump of everything observable for each "dump" line; with --png it also
// saves, for each dump, the picture the game window would show at that moment.
#include "script/replay.h"

#ifdef VORBIX_REPLAY_PICTURES
#include "qt/picture.h"
#endif

#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace {

constexpr int usage_error = 2;

constexpr const char* help_text =
    "Usage: vorbix-replay [options] [SCRIPT]\n"
    "Runs a script of answers, keys, clicks and time against the game on a virtual clock and\n"
    "prints the whole observable state as one line of JSON for every \"dump\" line. The script\n"
    "is read from SCRIPT, or from standard input when there is none.\n"
    "\n"
    "Options:\n"
    "  --png DIR      Also saves the picture of the window at every dump as DIR/dump-0001.png, ...\n"
    "  -h, --help     Shows this help and exits.\n"
    "  -v, --version  Shows the version and exits.\n"
    "\n"
    "Script lines: answer yes|no, random X, clock S, start, advance MS, tick N [COUNT],\n"
    "key CODE, click Pause|Command1, dump. See vorbix-replay(6).\n";

struct Options {
    std::optional<std::string> picture_folder;
    std::optional<std::string> script;
    bool help = false;
    bool version = false;
};

// The command line, or what is wrong with it.
std::variant<Options, std::string> options_of(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word == "-h" || word == "--help") {
            options.help = true;
        } else if (word == "-v" || word == "--version") {
            options.version = true;
        } else if (word == "--png") {
            if (options.picture_folder) return std::string("--png is given twice");
            if (i + 1 >= argc) return std::string("--png needs a folder");
            options.picture_folder = argv[++i];
        } else if (word.size() > 1 && word.front() == '-') {
            return "unknown option '" + std::string(word) + "'";
        } else if (options.script) {
            return "unexpected argument '" + std::string(word) + "': one script at most";
        } else {
            options.script = argv[i];
        }
    }
    return options;
}

int run(std::istream& script, const Options& options, int& argc, char** argv)
{
    if (!options.picture_folder) return vorbix::run_script(script, std::cout, std::cerr);
#ifdef VORBIX_REPLAY_PICTURES
    const vorbix::PicturePlatform platform(argc, argv);
    vorbix::ReplayPictures pictures(*options.picture_folder);
    if (!pictures.prepare()) {
        std::cerr << "vorbix-replay: cannot make the folder " << *options.picture_folder << '\n';
        return usage_error;
    }
    return vorbix::run_script(script, std::cout, std::cerr, [&pictures](vorbix::Replay& replay) {
        try {
            pictures.write(replay.view());
        } catch (const std::runtime_error& failure) {
            throw vorbix::ScriptError(failure.what());
        }
    });
#else
    (void)argc;
    (void)argv;
    std::cerr << "vorbix-replay: --png needs pictures, and this build has none (it was built without Qt)\n";
    return usage_error;
#endif
}

}  // namespace

int main(int argc, char** argv)
try {
    const auto parsed = options_of(argc, argv);
    if (const auto* wrong = std::get_if<std::string>(&parsed)) {
        std::cerr << "vorbix-replay: " << *wrong << " (see vorbix-replay --help)\n";
        return usage_error;
    }
    const Options* options = &std::get<Options>(parsed);
    if (options->help) {
        std::cout << help_text;
        return 0;
    }
    if (options->version) {
        std::cout << "vorbix-replay " << VORBIX_VERSION << '\n';
        return 0;
    }
    if (options->script) {
        std::ifstream script(*options->script);
        if (!script) {
            std::cerr << "vorbix-replay: cannot read " << *options->script << '\n';
            return usage_error;
        }
        return run(script, *options, argc, argv);
    }
    return run(std::cin, *options, argc, argv);
} catch (const std::exception& failure) {
    // Only running out of memory and the like end up here; script errors are reported above.
    std::cerr << "vorbix-replay: " << failure.what() << '\n';
    return 1;
}
