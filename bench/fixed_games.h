// The fixed replays that the benchmarks and the signature run: whole games, restarted from
// the "Game Over" button, with keys pressed along the way.
#pragma once

#include <string>

namespace vorbix {

// Games of up to a virtual minute each; every one is restarted, answering in turn No and Yes.
inline std::string fixed_games(int games)
{
    std::string script = "clock 4321\nanswer no\nstart\n";
    for (int game = 0; game < games; ++game) {
        for (int second = 0; second < 60; ++second) {
            static const char* const keys[] = {"key 37\n", "key 65\n", "key 39\n", "key 39\n", "key 83\n"};
            script += keys[second % 5];
            script += "advance 1000\n";
        }
        script += game % 2 == 0 ? "answer yes\n" : "answer no\n";
        script += "click Command1\n";
    }
    return script + "dump\n";
}

}  // namespace vorbix
