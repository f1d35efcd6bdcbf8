// The collision test: does the active piece, just moved or turned, run into the wall or a
// settled cell? The board is the visibility of the grid sprites.
#include "form/board.h"
#include "form/counted_loop.h"
#include "form/form1.h"

namespace vorbix {

void Form1::verified()
{
    state.collided = game_false;
    counted_loop(state.outer, 1, 4, [&] {
        counted_loop(state.inner, 1, 4, [&] {
            const bool filled = mask_character() == "1";
            // The cell tested is the one below the whole part of the cell's own row.
            int n = (whole_part(state.row) + state.outer + 1) * board_columns + state.col + state.inner + 1;
            if (n < 0) n = 1;  // above the board: the corner wall, always there
            const bool occupied = n > grid_sprites || ui().Shape2[n].visible;
            if (filled && occupied) state.collided = game_true;
        });
    });
}

}  // namespace vorbix
