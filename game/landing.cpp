// Landing: the piece's cells settle into the well, full rows go, the piece is counted and
// scored; a cell in or above the top wall row ends the game.
#include "form/board.h"
#include "form/counted_loop.h"
#include "form/form1.h"
#include "platform/convert.h"

namespace vorbix {

void Form1::stack()
{
    const int base = board_columns * whole_part(state.row + 1.0f) + state.col + 2;
    int k = 0;
    counted_loop(state.outer, 0, 3, [&] {
        counted_loop(state.inner, 0, 3, [&] {
            ++k;
            const int n = base + board_columns * state.outer + state.inner;
            const CellSprite& cell = ui().Shape1[k];
            if (!cell.visible) return;
            if (n < 12) gameover();
            // A cell above the board has no grid sprite to settle in; the game is over and
            // the cell is dropped.
            if (n < 1) return;
            CellSprite& settled = ui().Shape2[n];
            settled.fill = cell.fill;
            settled.pattern = cell.pattern;
            settled.visible = true;
        });
    });
    checkrow();
    state.blockcount = last_characters(decimal_text(10000 + (leading_value(state.blockcount) + 1)), 4);
    ui().piecelabel.text = "Blocks:" + state.blockcount;
    addscore();
}

}  // namespace vorbix
