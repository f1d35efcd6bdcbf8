// vorbix-replay: runs a script of answers, keys, clicks and time against the headless game
// and prints a JSON dump of everything observable for each "dump" line.
#include "tools/replay/replay.h"

#include <fstream>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc > 2) {
        std::cerr << "usage: vorbix-replay [SCRIPT]\n";
        return 2;
    }
    if (argc == 2) {
        std::ifstream script(argv[1]);
        if (!script) {
            std::cerr << "vorbix-replay: cannot read " << argv[1] << '\n';
            return 2;
        }
        return vorbix::run_script(script, std::cout, std::cerr);
    }
    return vorbix::run_script(std::cin, std::cout, std::cerr);
}
