// Invariants of the game that hold in every build: a broken one stops the program loudly,
// naming what went wrong, instead of reading or writing past the end of something.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace vorbix {

template <typename... Args>
inline void invariant(bool holds, const char* format, Args... args)
{
    if (holds) return;
    std::fputs("vorbix: broken invariant: ", stderr);
    if constexpr (sizeof...(Args) == 0) {
        std::fputs(format, stderr);
    } else {
        std::fprintf(stderr, format, args...);
    }
    std::fputc('\n', stderr);
    std::abort();
}

}  // namespace vorbix
