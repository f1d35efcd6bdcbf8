// A game controller in the game's own terms. Every front end reads its controller its own
// way and hands each reading here, with the time it was taken; what comes back is what a
// keyboard and a mouse would have given the game (its keys, a click on the shown button) or,
// while the question box is open, a move between its answers and a choice.
#pragma once

#include "platform/port.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vorbix {

// One reading of a controller with the standard layout: the D-pad, the left stick, the
// bottom and right face buttons and Start.
struct PadReading {
    bool pad_left = false;
    bool pad_right = false;
    bool pad_up = false;
    bool pad_down = false;
    // The left stick, each axis from -1 (left, up) to 1 (right, down).
    float stick_x = 0.0f;
    float stick_y = 0.0f;
    bool bottom = false;
    bool right = false;
    bool start = false;
};

// One thing a reading asks for, to be done in the order given.
struct PadAction {
    enum class Kind {
        key,              // the game's key_down(code)
        click,            // the game's click(button)
        previous_answer,  // the question box: focus the answer before the focused one
        next_answer,      // the question box: focus the answer after it
        choose_answer,    // the question box: choose the focused answer
    };
    Kind kind = Kind::key;
    int code = key::none;
    std::string button;
    friend bool operator==(const PadAction&, const PadAction&) = default;
};

class ControllerMap {
public:
    // A held move repeats as a held key does: after a first delay, at a steady rate. The
    // delay is longer than any tap, so that a tap moves one column.
    static constexpr std::int64_t first_repeat_ms = 300;
    static constexpr std::int64_t repeat_ms = 50;
    // How far the stick must lean, of its whole travel, to count as a direction: a worn or
    // resting stick drifts well short of this.
    static constexpr float dead_zone = 0.5f;

    // A reading taken at `now`, in milliseconds of a steady clock. The game says which button
    // Start clicks; a click that asks the question leaves the map in the question.
    std::vector<PadAction> read(const PadReading& reading, std::int64_t now, const GamePort& game);

    // The question box opened or closed, whether the controller answered it or not.
    void question_opened();
    void question_closed();
    bool question_open() const { return question_open_; }

    // The controller went away: nothing it held is held any longer.
    void forget();

    // Whether the game is in play, where the controller is read as often as a frame is shown;
    // with the question open or a button shown (paused, game over) nothing moves.
    bool in_play(const GamePort& game) const;

private:
    enum class Direction { none, left, right, up, down };
    struct Held {
        Direction direction = Direction::none;
        bool bottom = false;
        bool right = false;
        bool start = false;
    };

    static Held held_in(const PadReading& reading);
    void play(const Held& now_held, std::int64_t now, const GamePort& game, std::vector<PadAction>& actions);
    void answer(const Held& now_held, std::vector<PadAction>& actions) const;
    bool moves_now(const Held& now_held, std::int64_t now);

    Held held_;
    std::int64_t next_repeat_ = 0;
    bool question_open_ = false;
};

}  // namespace vorbix
