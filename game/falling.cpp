// The falling piece: one gravity step, the drawing of its cells and the landing check.
#include "form/board.h"
#include "form/counted_loop.h"
#include "form/form1.h"

namespace vorbix {

void Form1::drop()
{
    state.row = state.row + state.fallstep;
    state.landed = game_false;
    int k = 0;
    counted_loop(state.outer, 1, 4, [&] {
        counted_loop(state.inner, 1, 4, [&] {
            ++k;
            ui().Shape1[k].visible = false;
            if (mask_character() == "1") {
                state.lastvalue = k;
                display();
            }
        });
    });
}

void Form1::display()
{
    CellSprite& sprite = ui().Shape1[state.lastvalue];
    const float y = state.row + static_cast<float>(state.outer);
    const int x = state.col + state.inner;
    sprite.place.top = y * state.cellsize + 50.0f;
    sprite.place.left = static_cast<float>(x) * state.cellsize + 50.0f;
    sprite.visible = true;

    // Every cell at or above the top wall row tests the first inside cell of row 2.
    int c = whole_part(y) * board_columns + x + 1;
    if (c < 14) c = 14;
    const int below = c + board_columns;
    if (below > grid_sprites || ui().Shape2[below].visible) state.landed = game_true;
}

}  // namespace vorbix
