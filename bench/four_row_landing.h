// A board set up for a landing that removes four rows at once, shared by the benchmarks.
#pragma once

#include "form/board.h"
#include "form/form1.h"

namespace vorbix {

// Rows 17 to 20 full but for column 5, and an upright bar about to drop into the gap.
inline void prepare_four_row_landing(Form1& form)
{
    SpritePool& grid = form.controls->Shape2;
    for (int row = 17; row <= 20; ++row) {
        for (int column = 1; column <= 10; ++column) grid[grid_element(row, column)].visible = column != 5;
    }
    GameState& state = form.state;
    state.piece = 3;
    state.rotation = 2;
    state.col = 4;
    state.row = 15.7f;
    state.fallstep = 0.3f;
}

}  // namespace vorbix
