// The window's layout: the active-piece sprites and the side panel centred beside the well.
#include "form/counted_loop.h"
#include "form/form1.h"

namespace vorbix {

void Form1::loadshapes()
{
    counted_loop(state.outer, 1, 16, [&] {
        ui().Shape1.create(state.outer);
        ui().Shape1[state.outer].place.width = state.cellsize;
        ui().Shape1[state.outer].place.height = state.cellsize;
    });
}

void Form1::setup()
{
    const float middle = 17.0f * state.cellsize;
    auto centre = [middle](Rect& place) { place.left = middle - place.width / 2.0f; };
    ui().backdrop.place.width = ui().backdrop.place.height;
    centre(ui().npiece.place);
    centre(ui().backdrop.place);
    for (Label* label : {&ui().scorelabel, &ui().hscorelabel, &ui().rowslabel, &ui().piecelabel, &ui().Level}) {
        centre(label->place);
    }
}

}  // namespace vorbix
