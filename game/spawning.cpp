// Spawning: the intro hands over to gravity, and each new piece comes from the preview.
#include "form/counted_loop.h"
#include "form/form1.h"
#include "game/style.h"

#include <cmath>

namespace vorbix {
namespace {

// A piece from 1 to count, each equally likely.
float random_piece(RandomSource& random, int count)
{
    return std::floor(random.next() * static_cast<float>(count)) + 1.0f;
}

// The hard-mode level for a score; the bounds themselves match no test and keep the level.
std::int16_t level_for(double score, std::int16_t level)
{
    if (score > 20000) level = 9;
    if (score > 15000 && score < 20000) level = 8;
    if (score > 10000 && score < 15000) level = 7;
    if (score > 7500 && score < 10000) level = 6;
    if (score > 5000 && score < 7500) level = 5;
    if (score > 3000 && score < 5000) level = 4;
    if (score > 2000 && score < 3000) level = 3;
    if (score > 1000 && score < 2000) level = 2;
    if (score > 500 && score < 1000) level = 1;
    if (score < 500) level = 0;
    return level;
}

}  // namespace

void Form1::begin()
{
    ui().Timer2.set_interval(0);
    ui().Timer1.set_interval(50);
    // The first piece of every game is one of the seven four-cell pieces, in hard mode too.
    state.nextpiece = random_piece(random, 7);
    change();
}

void Form1::change()
{
    state.fallstep = 0.3f;
    state.piece = static_cast<int>(state.nextpiece);
    if (state.difficulty == answer_yes) {
        state.gamelevel = level_for(state.score.numeric_value(), state.gamelevel);
        ui().Level.text = "Level " + std::to_string(state.gamelevel);
        state.nextpiece = random_piece(random, state.gamelevel + 7);
    } else {
        state.nextpiece = random_piece(random, 7);
    }
    shownext();
    state.col = 3;
    state.row = -4.0f;
    state.rotation = 1;
    counted_loop(state.outer, 1, box_cells, [&] {
        CellSprite& sprite = ui().Shape1[state.outer];
        sprite.visible = false;
        apply_piece_style(sprite, state.piece);
    });
}

}  // namespace vorbix
