// The game's one random-number source: values queued by a replay come first, then a standard
// engine that the game seeds with the time of day its front end gives.
#pragma once

#include <cstdint>
#include <deque>
#include <random>

namespace vorbix {

class RandomSource {
public:
    void seed(int seed) { engine_.seed(static_cast<std::uint32_t>(seed)); }
    void queue(float value) { queued_.push_back(value); }

    // Uniform in [0, 1); 24 bits of the engine's output, so the float is never rounded to 1.
    float next()
    {
        if (!queued_.empty()) {
            const float value = queued_.front();
            queued_.pop_front();
            return value;
        }
        return static_cast<float>(engine_() >> 8) * 0x1p-24f;
    }

private:
    std::mt19937 engine_{0};
    std::deque<float> queued_;
};

}  // namespace vorbix
