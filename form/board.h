// Arithmetic on board positions that every rule shares.
#pragma once

#include <cmath>

namespace vorbix {

inline constexpr int board_rows = 22;     // 0 = top wall, 21 = floor
inline constexpr int board_columns = 12;  // 0 and 11 are the side walls
inline constexpr int grid_sprites = board_rows * board_columns;
inline constexpr int box_cells = 16;  // the active piece's 4 by 4 box

// The largest whole number not greater than a single-precision row.
inline int whole_part(float value) { return static_cast<int>(std::floor(value)); }

// The element of the grid pool that shows board cell (row, column).
inline constexpr int grid_element(int row, int column) { return board_columns * row + column + 1; }

// The look of a piece number: style 1..7, pieces 8..14 and 15..16 repeating the first ones.
inline int piece_style(int piece)
{
    if (piece < 8) return piece;
    if (piece < 15) return piece - 7;
    return piece - 14;
}

}  // namespace vorbix
