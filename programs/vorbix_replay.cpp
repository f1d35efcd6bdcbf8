// vorbix-replay: runs a script of answers, keys, clicks and time against the headless game
// and prints a JSON dump of everything observable for each "dump" line; with --png it also
// saves, for each dump, the picture the game window would show at that moment.
#include "platform/convert.h"
#include "script/replay.h"

#ifdef VORBIX_REPLAY_PICTURES
#include "qt/picture.h"
#endif

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace {

constexpr int internal_failure = 1;
constexpr int usage_error = 2;

constexpr const char* help_text =
    "Usage: vorbix-replay [options] [SCRIPT]\n"
    "Runs a script of answers, keys, clicks and time against the game on a virtual clock and\n"
    "prints the whole observable state as one line of JSON for every \"dump\" line. The script\n"
    "is read from SCRIPT, or from standard input when there is none.\n"
    "\n"
    "Options:\n"
    "  --png DIR      Also saves the picture of the window at every dump as DIR/dump-0001.png, ...\n"
    "  --overwrite    With --png, replaces the pictures of an earlier run that DIR holds.\n"
    "  --scale F      With --png, draws the pictures F times the window's size, F from 1 to 4\n"
    "                 (2, 2.5, ...); 1 when not given.\n"
    "  -h, --help     Shows this help and exits.\n"
    "  -v, --version  Shows the version and exits.\n"
    "\n"
    "Script lines: answer yes|no, random X, clock S, start, advance MS, tick N [COUNT],\n"
    "key CODE, click Pause|Command1, dump. See vorbix-replay(6).\n";

struct Options {
    std::optional<std::string> picture_folder;
    bool overwrite = false;
    std::optional<double> scale;
    std::optional<std::string> script;
    bool help = false;
    bool version = false;
};

// A picture's scale as the command line gives it: a plain decimal number from 1 to 4.
std::optional<double> scale_of(std::string_view text)
{
    const std::optional<double> scale = vorbix::decimal_value(text);
    if (!scale || !(*scale >= 1.0 && *scale <= 4.0)) return std::nullopt;
    return scale;
}

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
        } else if (word == "--overwrite") {
            options.overwrite = true;
        } else if (word == "--scale") {
            if (options.scale) return std::string("--scale is given twice");
            if (i + 1 >= argc) return std::string("--scale needs a number from 1 to 4");
            options.scale = scale_of(argv[++i]);
            if (!options.scale) return "--scale takes a number from 1 to 4, not '" + std::string(argv[i]) + "'";
        } else if (word.size() > 1 && word.front() == '-') {
            return "unknown option '" + std::string(word) + "'";
        } else if (options.script) {
            return "unexpected argument '" + std::string(word) + "': one script at most";
        } else {
            options.script = argv[i];
        }
    }
    if (options.overwrite && !options.picture_folder) return std::string("--overwrite goes only with --png");
    if (options.scale && !options.picture_folder) return std::string("--scale goes only with --png");
    return options;
}

int run(vorbix::script::Lines& script, const Options& options, int& argc, char** argv)
{
    if (!options.picture_folder) return vorbix::run_script(script, std::cout, std::cerr, {}, "vorbix-replay");
#ifdef VORBIX_REPLAY_PICTURES
    const vorbix::PicturePlatform platform(argc, argv);
    vorbix::ReplayPictures pictures(*options.picture_folder, options.scale.value_or(1.0));
    if (const auto problem = pictures.prepare(options.overwrite)) {
        std::cerr << "vorbix-replay: " << *problem << '\n';
        return usage_error;
    }
    const auto write = [&pictures](vorbix::Replay& replay) {
        try {
            pictures.write(replay.view());
        } catch (const std::runtime_error& failure) {
            throw vorbix::ScriptError(failure.what());
        }
    };
    return vorbix::run_script(script, std::cout, std::cerr, write, "vorbix-replay");
#else
    (void)script;
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
    if (options->help || options->version) {
        std::cout << (options->help ? help_text : "vorbix-replay " VORBIX_VERSION "\n") << std::flush;
        if (std::cout) return 0;
        std::cerr << "vorbix-replay: cannot write to standard output: " << std::strerror(errno) << '\n';
        return usage_error;
    }
    if (!options->script) {
        vorbix::script::Lines lines = vorbix::script::Lines::of_file(STDIN_FILENO, "standard input");
        return run(lines, *options, argc, argv);
    }
    const int file = ::open(options->script->c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0) {
        std::cerr << "vorbix-replay: cannot read " << *options->script << ": " << std::strerror(errno) << '\n';
        return usage_error;
    }
    vorbix::script::Lines lines = vorbix::script::Lines::of_file(file, *options->script);
    const int status = run(lines, *options, argc, argv);
    ::close(file);
    return status;
} catch (const std::bad_alloc&) {
    std::cerr << "vorbix-replay: out of memory\n";
    return internal_failure;
} catch (const std::exception& failure) {
    // Script errors and failures to read or write are reported above; nothing else should come.
    std::cerr << "vorbix-replay: " << failure.what() << '\n';
    return internal_failure;
}
