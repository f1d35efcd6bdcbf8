// The piece catalogue and rotation: which mask cell each box cell of the active piece shows.
#include "form/form1.h"

#include "platform/convert.h"

namespace vorbix {
namespace {

// Mask rows 1 to 4 of pieces 1 to 16, top to bottom.
constexpr const char* catalogue[16][4] = {
    {"0000", "0000", "0010", "1110"}, {"0000", "0000", "0100", "0111"}, {"0000", "0000", "0000", "1111"},
    {"0000", "0000", "0100", "1110"}, {"0000", "0110", "0110", "0000"}, {"0000", "0000", "1100", "0110"},
    {"0000", "0000", "0011", "0110"}, {"0000", "1110", "1110", "0000"}, {"0000", "1110", "0010", "0010"},
    {"0000", "1110", "0110", "0010"}, {"0000", "0110", "1111", "0000"}, {"0000", "1110", "1010", "0000"},
    {"0000", "0011", "0110", "1100"}, {"0000", "1100", "0110", "0011"}, {"0000", "1110", "1010", "1010"},
    {"0000", "0100", "1110", "0100"},
};

const std::string no_entry;

}  // namespace

void Form1::loadpieces()
{
    for (int p = 1; p <= 16; ++p) {
        for (int r = 1; r <= 4; ++r) state.pieces[p][r] = catalogue[p - 1][r - 1];
    }
}

void Form1::rotate()
{
    // Four separate tests: a rotation outside 1..4 matches none and leaves the last result.
    if (state.rotation == 1) {
        state.maskrow = state.outer;
        state.maskcol = state.inner;
    }
    if (state.rotation == 2) {
        state.maskrow = 5 - state.inner;
        state.maskcol = state.outer;
    }
    if (state.rotation == 3) {
        state.maskrow = 5 - state.outer;
        state.maskcol = 5 - state.inner;
    }
    if (state.rotation == 4) {
        state.maskrow = state.inner;
        state.maskcol = 5 - state.outer;
    }
}

const std::string& Form1::mask_entry(int piece, int mask_row) const
{
    if (piece < 0 || piece >= piece_numbers || mask_row < 0 || mask_row >= mask_rows) return no_entry;
    return state.pieces[piece][mask_row];
}

std::string Form1::mask_character()
{
    rotate();
    return character_at(mask_entry(state.piece, state.maskrow), state.maskcol);
}

}  // namespace vorbix
