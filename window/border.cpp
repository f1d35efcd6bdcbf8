// The well: 22 rows by 12 columns of grid sprites, its outer ring the wall.
#include "form/board.h"
#include "form/counted_loop.h"
#include "form/form1.h"

namespace vorbix {

void Form1::border()
{
    std::int16_t n = 0;
    counted_loop(state.outer, 0, board_rows - 1, [&] {
        counted_loop(state.inner, 0, board_columns - 1, [&] {
            ++n;
            SpritePool& grid = ui().Shape2;
            grid.create(n);
            // Created after the active-piece sprites and brought to the front, so a piece
            // entering the well passes behind the top wall.
            grid.bring_to_front(n);
            grid[n].place.top = static_cast<float>(state.outer) * state.cellsize + 50.0f;
            grid[n].place.left = static_cast<float>(state.inner) * state.cellsize + 60.0f;
            const bool wall = state.outer == board_rows - 1 || state.outer == 0 || state.inner == board_columns - 1 ||
                              state.inner == 0;
            if (wall) grid[n].visible = true;
        });
    });
}

}  // namespace vorbix
