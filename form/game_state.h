// The game state: every field the game's procedures share, named as the game names them.
// It outlives the window: a restart rebuilds the controls but keeps this record.
#pragma once

#include "platform/convert.h"

#include <array>
#include <cstdint>
#include <string>

namespace vorbix {

inline constexpr int piece_numbers = 17;  // 0..16
inline constexpr int mask_rows = 11;      // 0..10

// Truth values as the game stores them.
inline constexpr int game_true = -1;
inline constexpr int game_false = 0;

struct GameState {
    // The piece catalogue: entry (p, r) is mask row r of piece p, four characters "0"/"1".
    std::array<std::array<std::string, mask_rows>, piece_numbers> pieces{};

    // The active piece and the intro's counters.
    int piece = 0;
    float nextpiece = 0.0f;
    int rotation = 0;
    int col = 0;
    float row = 0.0f;
    float fallstep = 0.0f;

    // Values handed from one procedure to the next.
    int landed = game_false;
    std::int16_t collided = game_false;
    int maskrow = 0;
    int maskcol = 0;
    int outer = 0;
    int inner = 0;
    int lastvalue = 0;

    // Fixed at each start-up.
    float cellsize = 0.0f;
    std::int16_t difficulty = 0;
    std::int16_t gamelevel = 0;

    // Counters, as fixed-width digit texts.
    TextOrNumber score;
    std::string hiscore;
    std::string rowcount;
    std::string blockcount;
};

}  // namespace vorbix
