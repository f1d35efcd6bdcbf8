// Game over and restart: the "Game Over" button stops gravity, and its click builds the
// window afresh, keeping the game state and so the best score.
#include "form/form1.h"

namespace vorbix {

void Form1::gameover()
{
    PushButton& button = ui().Command1;
    button.place.top = ui().client_height() / 2.0f - button.place.height / 2.0f;
    button.place.left = ui().client_width() / 2.0f - button.place.width / 2.0f;
    button.visible = true;
    ui().Timer1.set_interval(0);
}

void Form1::Command1_Click()
{
    Unload();
    Show();
    ui().Timer2.set_interval(1);
}

}  // namespace vorbix
