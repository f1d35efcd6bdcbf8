// The curtain: two black halves close over the window at every load and slide apart.
#include "form/form1.h"

namespace vorbix {

void Form1::cover()
{
    ui().Timer2.set_interval(2);
    const float width = ui().outer_width;
    const float height = ui().outer_height;
    ui().covertop.place = {0.0f, -height / 2.0f, width, height};
    ui().covertop.visible = true;
    ui().coverbottom.place = {0.0f, height / 2.0f, width, height};
    ui().coverbottom.visible = true;
    ui().bring_to_front(ui().covertop.name);
    ui().bring_to_front(ui().coverbottom.name);
    for (Panel* half : {&ui().covertop, &ui().coverbottom}) {
        half->child_height = half->place.height;
        half->child_width = half->place.width;
    }
    ui().covered = true;
}

void Form1::Timer3_Timer()
{
    // The curtain timer runs from the window's creation; until the halves have been placed
    // over the window there is nothing to open.
    if (!ui().covered) return;
    ui().covertop.place.top -= 250.0f;
    ui().coverbottom.place.top += 250.0f;
    if (ui().coverbottom.place.top > ui().outer_height) ui().Timer3.set_interval(0);
}

}  // namespace vorbix
