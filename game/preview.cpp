// The next-piece preview: sixteen cells tiling the preview box, showing the next piece in
// its stored turn and its own colours.
#include "form/counted_loop.h"
#include "form/form1.h"
#include "game/style.h"
#include "platform/convert.h"

namespace vorbix {

void Form1::nextdisplay()
{
    ui().Shape3[0].place.width = ui().backdrop.place.width / 4.0f;
    ui().Shape3[0].place.height = ui().backdrop.place.height / 4.0f;
    counted_loop(state.outer, 1, 16, [&] { ui().Shape3.create(state.outer); });
}

void Form1::shownext()
{
    const Rect box = ui().backdrop.place;
    const float w = box.width / 4.0f;
    const float h = box.height / 4.0f;
    const int next = static_cast<int>(state.nextpiece);
    int n = 0;
    counted_loop(state.outer, 0, 3, [&] {
        counted_loop(state.inner, 0, 3, [&] {
            ++n;
            CellSprite& cell = ui().Shape3[n];
            const std::string shown = character_at(mask_entry(next, state.outer + 1), state.inner + 1);
            if (shown == "1") {
                cell.place.left = box.left + static_cast<float>(state.inner) * w;
                cell.place.top = box.top + static_cast<float>(state.outer) * h;
                ui().Shape3.bring_to_front(n);
                apply_piece_style(cell, next);
                cell.visible = true;
            } else if (shown == "0") {
                cell.visible = false;
            }
            // An empty entry (no piece) leaves the cell as it was.
        });
    });
}

}  // namespace vorbix
