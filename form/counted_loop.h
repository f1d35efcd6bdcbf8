// A counted loop over one of the game's shared counters. The counter is read afresh before
// every pass, so a procedure called from the body that changes it changes the loop, and
// after the loop it stands one step past the last value.
#pragma once

namespace vorbix {

template <typename Body>
void counted_loop(int& counter, int first, int last, Body&& body, int step = 1)
{
    for (counter = first; step > 0 ? counter <= last : counter >= last; counter += step) {
        body();
    }
}

}  // namespace vorbix
