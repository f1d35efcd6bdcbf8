// Small helpers for the rule tests: which sprites of a pool are showing, which box cells a
// piece fills in a turn, and putting a piece somewhere on the board.
#pragma once

#include "tests/support/headless_game.h"

#include <set>
#include <string>
#include <utility>

namespace vorbix::testing {

// A cell of the active piece's 4 by 4 box: (box row, box column), both 1..4.
using BoxCell = std::pair<int, int>;

inline std::set<int> visible_elements(const SpritePool& pool, int first, int last)
{
    std::set<int> shown;
    for (int k = first; k <= last; ++k) {
        if (pool[k].visible) shown.insert(k);
    }
    return shown;
}

// The box cells that the cell test finds filled for a piece in a turn, asking rotate for
// each cell in the order the game walks the box.
inline std::set<BoxCell> filled_box_cells(Form1& form, int piece, int rotation)
{
    GameState& s = form.state;
    s.piece = piece;
    s.rotation = rotation;
    std::set<BoxCell> cells;
    for (s.outer = 1; s.outer <= 4; ++s.outer) {
        for (s.inner = 1; s.inner <= 4; ++s.inner) {
            form.rotate();
            const std::string& entry = s.pieces[piece][s.maskrow];
            if (character_at(entry, s.maskcol) == "1") cells.insert({s.outer, s.inner});
        }
    }
    return cells;
}

// Puts the active piece's box at a place, as spawning and the keys would leave it.
inline void place_piece(GameState& s, int piece, int rotation, float row, int col, float fallstep)
{
    s.piece = piece;
    s.rotation = rotation;
    s.row = row;
    s.col = col;
    s.fallstep = fallstep;
}

// The active-piece sprite that draws box cell (a, b).
inline int box_sprite(int box_row, int box_column)
{
    return 4 * (box_row - 1) + box_column;
}

}  // namespace vorbix::testing
