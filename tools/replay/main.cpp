// vorbix-replay: runs a script of answers, keys, clicks and time against the headless game
// and prints a JSON dump of everything observable for each "dump" line; with --png it also
// saves, for each dump, the picture the game window would show at that moment.
#include "tools/replay/replay.h"

#ifdef VORBIX_REPLAY_PICTURES
#include "tools/replay/picture.h"
#endif

#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr int usage_error = 2;

struct Options {
    std::optional<std::string> picture_folder;
    std::optional<std::string> script;
};

void print_usage() { std::cerr << "usage: vorbix-replay [--png DIR] [SCRIPT]\n"; }

// The command line, or nothing when it does not fit the usage.
std::optional<Options> options_of(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word == "--png") {
            if (options.picture_folder || i + 1 >= argc) return std::nullopt;
            options.picture_folder = argv[++i];
        } else if (!options.script && !(word.size() > 1 && word.front() == '-')) {
            options.script = argv[i];
        } else {
            return std::nullopt;
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
{
    const std::optional<Options> options = options_of(argc, argv);
    if (!options) {
        print_usage();
        return usage_error;
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
}
