// Form1, the game window: it owns the game state, every control and every procedure of the
// game. Each procedure is defined in the file of its part of the game. Front ends drive it
// through GamePort only.
#pragma once

#include "form/form_controls.h"
#include "form/game_state.h"
#include "platform/port.h"
#include "platform/random_source.h"

#include <memory>
#include <string>

namespace vorbix {

class Form1 final : public GamePort {
public:
    // Hands itself to the front end, which from then on delivers the window's events to it.
    explicit Form1(FrontEnd& front_end);
    ~Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // The game state, which lives as long as the game object.
    GameState state;
    // The window's controls; empty while the window is unloaded.
    std::unique_ptr<FormControls> controls;
    // The game's random numbers, seeded at every load.
    RandomSource random;

    // GamePort
    void start() override;
    bool key_down(int code) override;
    bool click(std::string_view button) override;
    bool tick(TimerId timer) override;
    std::optional<ShownButton> shown_button() const override;
    std::optional<WindowView> window() const override;

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

    FrontEnd& front_end_;
};

}  // namespace vorbix
