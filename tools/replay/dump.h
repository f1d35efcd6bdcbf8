// The whole observable state of the game as one line of JSON.
#pragma once

#include "game/game_state.h"
#include "window/form_controls.h"

#include <cstdint>
#include <string>

namespace vorbix {

struct DumpContext {
    std::int64_t time = 0;
    int asked = 0;
};

std::string dump_json(const DumpContext& context, const GameState& state, const FormControls& controls);

// A single-precision value as the shortest text that reads back to it; whole values as integers.
std::string float_text(float value);

}  // namespace vorbix
