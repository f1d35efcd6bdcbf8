// The look of a piece: fill pattern and fill colour follow from its style number.
#pragma once

#include "form/board.h"
#include "platform/controls.h"

namespace vorbix {

inline Rgb style_colour(int style)
{
    return Rgb{static_cast<std::uint8_t>(30 * style), static_cast<std::uint8_t>(210 - 30 * style), 150};
}

inline void apply_piece_style(CellSprite& sprite, int piece)
{
    const int style = piece_style(piece);
    sprite.pattern = style;
    sprite.fill = style_colour(style);
}

}  // namespace vorbix
