// Start-up: the window is built from its design, asks for the difficulty, sizes itself
// from the cell size and builds the well, the preview and the curtain.
#include "form/form1.h"
#include "platform/convert.h"

#include <cmath>

namespace vorbix {

void Form1::Show()
{
    controls = std::make_unique<FormControls>();
    for (Timer* timer : {&ui().Timer1, &ui().Timer2, &ui().Timer3}) timer->attach(&front_end_);
    front_end_.window_created(controls->view());
    Form_Load();
    ui().shown = true;
    front_end_.window_shown();
}

void Form1::Unload()
{
    front_end_.window_unloaded();
    controls.reset();
}

void Form1::Form_Load()
{
    // The intro stays off while the question is open and until its sprites exist.
    ui().Timer2.set_enabled(false);
    state.difficulty = static_cast<std::int16_t>(front_end_.ask("Hard Mode?", "Difficulty"));
    if (state.difficulty == answer_no) ui().Level.visible = false;
    if (state.difficulty == answer_yes) ui().Level.visible = true;

    state.cellsize = std::floor(ui().client_width() / 20.0f);
    ui().outer_width = 22.0f * state.cellsize;
    ui().outer_height = 22.0f * state.cellsize + 450.0f;
    for (SpritePool* pool : {&ui().Shape1, &ui().Shape2}) {
        (*pool)[0].place.width = state.cellsize;
        (*pool)[0].place.height = state.cellsize;
    }
    state.gamelevel = 0;
    loadshapes();
    ui().Timer2.set_enabled(true);

    state.rowcount = "000";
    state.blockcount = "0000";
    state.score = "000000";
    ui().scorelabel.text = "Score:000000";
    ui().hscorelabel.text = "HiScore:" + state.hiscore;
    if (leading_value(state.hiscore) == 0) ui().hscorelabel.text = "HiScore:000000";

    random.seed(front_end_.seconds_since_midnight());
    border();
    loadpieces();
    setup();
    nextdisplay();
    cover();
}

}  // namespace vorbix
