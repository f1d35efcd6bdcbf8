// Form1, the game window: it owns the game state, every control and every procedure of the
// game. Each procedure is defined in the file of its part of the game.
#pragma once

#include "game/game_state.h"
#include "platform/backend.h"
#include "window/form_controls.h"

#include <memory>
#include <string>

namespace vorbix {

class Form1 {
public:
    explicit Form1(Backend& backend) : backend_(backend) {}

    // The game state, which lives as long as the game object.
    GameState state;
    // The window's controls; empty while the window is unloaded.
    std::unique_ptr<FormControls> controls;

    // Creating the window: it is built from its design, loaded and shown.
    void Show();
    void Unload();

    // Events of the window.
    void Form_Load();
    void Form_KeyDown(int keycode, int shift);
    void Pause_Click();
    void Command1_Click();
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void timer_tick(TimerId id);

    // The window and its sprites.
    void loadshapes();
    void setup();
    void border();
    void cover();

    // The rules.
    void loadpieces();
    void rotate();
    void verified();
    void drop();
    void display();
    void begin();
    void change();
    void stack();
    void gameover();
    void checkrow();
    void deleterow();
    void addscore();
    void nextdisplay();
    void shownext();

private:
    FormControls& ui() { return *controls; }
    // Calls rotate for box cell (outer, inner) and gives the mask character it shows.
    std::string mask_character();
    const std::string& mask_entry(int piece, int mask_row) const;

    Backend& backend_;
};

}  // namespace vorbix
