// The timers: gravity drives play, the intro turns the four-cell pieces before each game.
#include "form/form1.h"

namespace vorbix {

void Form1::Timer1_Timer()
{
    drop();
    if (state.landed != game_false) {
        stack();
        change();
    }
}

void Form1::Timer2_Timer()
{
    state.rotation = state.rotation + 1;
    if (state.rotation > 4) {
        state.rotation = 1;
        state.piece = state.piece + 1;
    }
    state.row = 8.0f;
    state.col = 3;
    if (state.piece < 8) drop();
    // After a hard-mode game the carried-over piece can already be past 8; play must start
    // all the same.
    if (state.piece >= 8) begin();
}

}  // namespace vorbix
