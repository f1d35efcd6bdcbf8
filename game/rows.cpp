// Row clearing: full rows are removed one at a time, the rows above moving down.
#include "form/board.h"
#include "form/counted_loop.h"
#include "form/form1.h"
#include "platform/convert.h"

namespace vorbix {

void Form1::checkrow()
{
    counted_loop(state.outer, 2, 20, [&] {
        counted_loop(state.inner, 2, 11, [&] {
            // Column inner - 1 of row outer.
            if (!ui().Shape2[board_columns * state.outer + state.inner].visible) state.inner = 99;
        });
        if (state.inner < 99) {
            state.lastvalue = state.outer;
            // Leaves outer at 1, so the scan starts again from the top: the rows below the
            // removed one have not moved and may still hold a full row.
            deleterow();
        }
    });
}

void Form1::deleterow()
{
    SpritePool& grid = ui().Shape2;
    counted_loop(
        state.outer, state.lastvalue, 2,
        [&] {
            counted_loop(state.inner, 2, 11, [&] {
                CellSprite& cell = grid[board_columns * state.outer + state.inner];
                const CellSprite& above = grid[board_columns * (state.outer - 1) + state.inner];
                cell.visible = above.visible;
                cell.pattern = above.pattern;
                cell.fill = above.fill;
            });
        },
        -1);
    // Row 1 has moved down into row 2; left standing it would count twice.
    for (int column = 1; column <= 10; ++column) grid[grid_element(1, column)].visible = false;
    for (int point = 1; point <= 10; ++point) addscore();
    state.rowcount = last_characters(decimal_text(1000 + (leading_value(state.rowcount) + 1)), 3);
    ui().rowslabel.text = "Rows:" + state.rowcount;
}

}  // namespace vorbix
