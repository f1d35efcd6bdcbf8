// The keyboard and pause: moves and turns tested for collisions, the fast drop with its
// bonus, and P, which stops every timer until the Pause button is clicked.
#include "form/form1.h"

namespace vorbix {
namespace {
constexpr int turn_clockwise = key::a;
constexpr int turn_counter_clockwise = key::s;
}  // namespace

void Form1::Form_KeyDown(int keycode, int /*shift*/)
{
    // Each move or turn is tried, tested and taken back when it collides.
    auto attempt = [this](int& field, auto change_field) {
        state.lastvalue = field;
        change_field(field);
        verified();
        if (state.collided != game_false) field = state.lastvalue;
    };
    switch (keycode) {
    case key::left: attempt(state.col, [](int& col) { col = col - 1; }); break;
    case key::right: attempt(state.col, [](int& col) { col = col + 1; }); break;
    case turn_clockwise:
        attempt(state.rotation, [](int& turn) {
            turn = turn + 1;
            if (turn == 5) turn = 1;
        });
        break;
    case turn_counter_clockwise:
        attempt(state.rotation, [](int& turn) {
            turn = turn - 1;
            if (turn == 0) turn = 4;
        });
        break;
    case key::down:
        // Only the first press for a piece earns the bonus: spawning sets the step to 0.3.
        if (state.fallstep == 0.3f) state.score = state.score.numeric_value() + 5;
        state.fallstep = 1.0f;
        break;
    case key::p:
        ui().Pause.visible = true;
        // Above the curtain too, so that a paused game can always be resumed.
        ui().bring_to_front(ui().Pause.name);
        ui().Timer1.set_enabled(false);
        ui().Timer2.set_enabled(false);
        ui().Timer3.set_enabled(false);
        break;
    default: break;
    }
}

void Form1::Pause_Click()
{
    ui().Pause.visible = false;
    ui().Timer1.set_enabled(true);
    ui().Timer2.set_enabled(true);
    ui().Timer3.set_enabled(true);
}

}  // namespace vorbix
