// Runs the fixed replay and prints how long it took and a signature of its final dump. A
// change that means to alter the game's behaviour says so with its new signature; any other
// change keeps it.
#include "bench/fixed_games.h"
#include "script/replay.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <sstream>

int main()
{
    const std::string script = vorbix::fixed_games(20);
    std::istringstream in(script);
    std::ostringstream out;
    std::ostringstream errors;
    const auto started = std::chrono::steady_clock::now();
    const int status = vorbix::run_script(in, out, errors);
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - started;
    if (status != 0) {
        std::fprintf(stderr, "%s", errors.str().c_str());
        return 1;
    }
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a over the dump
    for (const unsigned char c : out.str()) hash = (hash ^ c) * 1099511628211ull;
    std::printf("time %.3f ms\nsignature %016llx\n", took.count(), static_cast<unsigned long long>(hash));
    return 0;
}
