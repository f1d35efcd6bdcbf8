// A game on the headless front end for tests: start it, look at its board, set cells, put a
// piece somewhere, and see which sprites of a pool are showing.
#pragma once

#include "form/board.h"
#include "form/form1.h"
#include "headless/headless_front_end.h"

#include <initializer_list>
#include <set>
#include <string>
#include <utility>

namespace vorbix::testing {

// Where the active piece's box stands, as spawning, gravity and the keys leave it.
struct Placement {
    int piece;
    int rotation;
    float row;
    int col;
    float fallstep = 0.0f;
};

inline void place_piece(GameState& s, const Placement& at)
{
    s.piece = at.piece;
    s.rotation = at.rotation;
    s.row = at.row;
    s.col = at.col;
    s.fallstep = at.fallstep;
}

// The active-piece sprite that draws box cell (a, b).
inline int box_sprite(int box_row, int box_column) { return 4 * (box_row - 1) + box_column; }

inline std::set<int> visible_elements(const SpritePool& pool, int first = 1, int last = 16)
{
    std::set<int> shown;
    for (int k = first; k <= last; ++k) {
        if (pool[k].visible) shown.insert(k);
    }
    return shown;
}

class HeadlessGame {
public:
    // Program start: the window is built, loaded (answering the question) and shown.
    void start(int answer = answer_no, std::initializer_list<float> randoms = {})
    {
        front_end.queue_answer(answer);
        queue_randoms(randoms);
        form.start();
    }

    // The "Game Over" button's click, answering the question it asks.
    void restart(int answer)
    {
        front_end.queue_answer(answer);
        form.Command1_Click();
    }

    void queue_randoms(std::initializer_list<float> randoms)
    {
        for (const float value : randoms) form.random.queue(value);
    }

    GameState& state() { return form.state; }
    FormControls& ui() { return *form.controls; }

    CellSprite& grid(int row, int column) { return ui().Shape2[grid_element(row, column)]; }
    bool occupied(int row, int column) { return grid(row, column).visible; }
    void set_occupied(int row, int column, bool visible = true) { grid(row, column).visible = visible; }

    // Every cell at or above the top wall row rests on board row 2, column 1: with that cell
    // occupied, the next piece lands on its first step and ends the game.
    void lose_on_first_step() { set_occupied(2, 1); }

    // Fills the inside of a board row, leaving the given columns empty.
    void fill_row(int row, std::initializer_list<int> gaps = {})
    {
        for (int column = 1; column <= 10; ++column) {
            bool gap = false;
            for (const int g : gaps) gap = gap || g == column;
            set_occupied(row, column, !gap);
        }
    }

    // The inside of a board row as text, '#' for an occupied cell and '.' for a free one.
    std::string row_text(int row)
    {
        std::string text;
        for (int column = 1; column <= 10; ++column) text += occupied(row, column) ? '#' : '.';
        return text;
    }

    int visible_grid_sprites() { return static_cast<int>(visible_elements(ui().Shape2, 1, grid_sprites).size()); }

    HeadlessFrontEnd front_end;
    Form1 form{front_end};
};

}  // namespace vorbix::testing
