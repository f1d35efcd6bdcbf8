// A game on the headless backend for tests: start it, look at its board, set cells.
#pragma once

#include "game/board.h"
#include "platform/headless/headless_backend.h"
#include "window/form1.h"

#include <initializer_list>
#include <string>

namespace vorbix::testing {

class HeadlessGame {
public:
    HeadlessGame()
    {
        backend.on_tick([this](TimerId id) { form.timer_tick(id); });
    }

    // Program start: the window is built, loaded (answering the question) and shown.
    void start(int answer = answer_no, std::initializer_list<float> randoms = {})
    {
        backend.queue_answer(answer);
        for (const float value : randoms) backend.queue_random(value);
        form.Show();
    }

    GameState& state() { return form.state; }
    FormControls& ui() { return *form.controls; }

    CellSprite& grid(int row, int column) { return ui().Shape2[grid_element(row, column)]; }
    bool occupied(int row, int column) { return grid(row, column).visible; }
    void set_occupied(int row, int column, bool visible = true) { grid(row, column).visible = visible; }

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

    int visible_grid_sprites()
    {
        int count = 0;
        for (int n = 1; n <= grid_sprites; ++n) count += ui().Shape2[n].visible ? 1 : 0;
        return count;
    }

    HeadlessBackend backend;
    Form1 form{backend};
};

}  // namespace vorbix::testing
