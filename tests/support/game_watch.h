// The promises the game keeps whatever a player does, checked on a loaded window after any
// event: every sprite exists, the walls stand, the counters keep their widths, the timers
// keep settings the game can give them, and "Game Over" shows exactly when the game is over.
#pragma once

#include "form/board.h"
#include "form/form1.h"

#include <cmath>
#include <string>

namespace vorbix::testing {

inline bool is_digit_text(const std::string& text, std::size_t width)
{
    if (text.size() != width) return false;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

inline bool is_wall_cell(int row, int column)
{
    return row == 0 || row == board_rows - 1 || column == 0 || column == board_columns - 1;
}

// Sprites a loaded window has in each pool: the template and every created element.
inline constexpr int active_sprites = 16;
inline constexpr int preview_sprites = 16;
inline constexpr int wall_cells = 64;

// What is wrong with the pools of a loaded window, or "" when all their sprites exist.
inline std::string pool_problem(const SpritePool& pool, int created)
{
    if (pool.size() != created + 1) {
        return pool.name() + " has " + std::to_string(pool.size()) + " elements, not " + std::to_string(created + 1);
    }
    for (int k = 0; k <= created; ++k) {
        if (!pool.exists(k)) return pool.name() + "(" + std::to_string(k) + ") was never created";
    }
    return "";
}

inline int visible_wall_cells(const FormControls& ui)
{
    int count = 0;
    for (int row = 0; row < board_rows; ++row) {
        for (int column = 0; column < board_columns; ++column) {
            if (is_wall_cell(row, column) && ui.Shape2[grid_element(row, column)].visible) ++count;
        }
    }
    return count;
}

class GameWatch {
public:
    // Call after every event once the game has started; gives "" when every promise holds,
    // otherwise the first one broken.
    std::string check(const Form1& form)
    {
        if (!form.controls) return "the window is gone after start";
        const FormControls& ui = *form.controls;
        const GameState& s = form.state;

        for (const auto& [pool, created] : {std::pair{&ui.Shape1, active_sprites}, std::pair{&ui.Shape2, grid_sprites},
                                            std::pair{&ui.Shape3, preview_sprites}}) {
            if (auto problem = pool_problem(*pool, created); !problem.empty()) return problem;
        }
        if (const int walls = visible_wall_cells(ui); walls != wall_cells) {
            return "walls: " + std::to_string(walls) + " of 64 wall cells visible";
        }

        if (!is_digit_text(s.rowcount, 3)) return "rowcount is \"" + s.rowcount + "\", not three digits";
        if (!is_digit_text(s.blockcount, 4)) return "blockcount is \"" + s.blockcount + "\", not four digits";
        if (!s.hiscore.empty() && !is_digit_text(s.hiscore, 6)) return "hiscore is \"" + s.hiscore + "\"";
        if (s.score.is_text()) {
            if (!is_digit_text(s.score.text(), 6)) return "score is \"" + s.score.text() + "\", not six digits";
            // The best score is the highest score text so far; before the first points it
            // is empty and the score all zeros.
            const bool kept = s.hiscore.empty() ? s.score.text() == "000000" : s.hiscore >= s.score.text();
            if (!kept) return "hiscore \"" + s.hiscore + "\" below score \"" + s.score.text() + "\"";
        } else {
            // A number only after the fast-drop bonus: a six-digit score and 5.
            const double value = s.score.number();
            if (value != std::floor(value) || value < 5 || value > 1000004) {
                return "score is the number " + std::to_string(value);
            }
        }

        const int t1 = ui.Timer1.interval();
        const int t2 = ui.Timer2.interval();
        const int t3 = ui.Timer3.interval();
        if (t1 != 0 && t1 != 50) return "Timer1 interval " + std::to_string(t1);
        if (t2 != 0 && t2 != 1 && t2 != 2 && t2 != 5) return "Timer2 interval " + std::to_string(t2);
        if (t3 != 0 && t3 != 200) return "Timer3 interval " + std::to_string(t3);
        const bool paused = ui.Pause.visible;
        for (const Timer* timer : {&ui.Timer1, &ui.Timer2, &ui.Timer3}) {
            if (timer->enabled() == paused) {
                return std::string("Timer") + std::to_string(static_cast<int>(timer->id()) + 1) +
                       (paused ? " enabled while paused" : " disabled while not paused");
            }
        }

        // Only begin stops the intro timer, and only the end of the game stops gravity after it.
        const bool over = t1 == 0 && t2 == 0;
        if (ui.Command1.visible != over) {
            return std::string("\"Game Over\" ") + (ui.Command1.visible ? "shown" : "hidden") + " with Timer1 " +
                   std::to_string(t1) + " and Timer2 " + std::to_string(t2);
        }

        // Keys in the very first intro can turn the intro's count below 1; once play has begun
        // every turn stays within 1..4, through every later intro too.
        if (t1 == 50 || t2 == 0) begun_ = true;
        if (begun_ && (s.rotation < 1 || s.rotation > 4)) return "rotation " + std::to_string(s.rotation);
        if (s.piece < 0 || s.piece > 16) return "piece " + std::to_string(s.piece);
        if (s.nextpiece < 0.0f || s.nextpiece > 16.0f || s.nextpiece != std::floor(s.nextpiece)) {
            return "nextpiece " + std::to_string(s.nextpiece);
        }
        if (s.gamelevel < 0 || s.gamelevel > 9) return "gamelevel " + std::to_string(s.gamelevel);
        return "";
    }

private:
    bool begun_ = false;
};

}  // namespace vorbix::testing
