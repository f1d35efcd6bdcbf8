// The whole observable state of the game as one line of JSON.
#pragma once

#include "form/game_state.h"
#include "platform/window_view.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vorbix {

struct DumpContext {
    std::int64_t time = 0;
    int asked = 0;
};

std::string dump_json(const DumpContext& context, const GameState& state, const WindowView& window);

// A text as a JSON string, and a colour as the JSON string "#rrggbb".
std::string json_string(std::string_view text);
std::string json_colour(const Rgb& colour);

}  // namespace vorbix
