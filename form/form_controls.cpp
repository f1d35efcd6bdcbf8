// The window's design: each control's designed place, look, text and font.
#include "form/form_controls.h"

#include <algorithm>

namespace vorbix {
namespace {

const Rgb blue{0, 0, 255};
const Rgb red{255, 0, 0};

const FontSpec counter_font{"Times New Roman", 15.75f, true, false};

Label counter_label(const char* name, const char* text, Rect place)
{
    return Label{name, text, place, counter_font, false, Rgb{}, true};
}

CellSprite sprite_template(Rect place, Rgb fill, int pattern, std::uint64_t z)
{
    return CellSprite{place, fill, blue, pattern, false, z};
}

}  // namespace

FormControls::FormControls()
    : outer_width(design_client_width + frame_width),
      outer_height(design_client_height + frame_height),
      Pause{"Pause", "Pause", {1560, 240, 3015, 1935}, {"Garamond", 48.0f, true, false}, false},
      Command1{"Command1", "Game Over", {0, 2400, 2655, 2175}, {"Lucida Sans Unicode", 36.0f, true, true}, false},
      covertop{"covertop", "cot", {2880, 960, 615, 735}, 495, 495, true},
      coverbottom{"coverbottom", "cob", {2880, 2520, 615, 615}, 495, 495, true},
      widget_order{Pause.name, Command1.name, covertop.name, coverbottom.name},
      Timer1(TimerId::timer1, 0, true),
      Timer2(TimerId::timer2, 5, true),
      Timer3(TimerId::timer3, 200, true),
      npiece{"npiece", "Next Piece:", {3600, 120, 1575, 1215}, {"Lucida Handwriting", 20.25f, true, true}, true,
             red,      true},
      backdrop{{3600, 1440, 1575, 1575}, blue, true},
      scorelabel(counter_label("scorelabel", "Score:000000", {3720, 3120, 1860, 360})),
      hscorelabel(counter_label("hscorelabel", "HiScore:000000", {3600, 3720, 2175, 360})),
      rowslabel(counter_label("rowslabel", "Rows:000", {3720, 4320, 1335, 360})),
      piecelabel(counter_label("piecelabel", "Blocks:0000", {3600, 4920, 1665, 360})),
      Level(counter_label("Level", "Level 0", {4080, 5520, 990, 360})),
      Shape3("Shape3", sprite_template({720, 1440, 495, 495}, {0, 255, 0}, plain_fill, order.next()), order),
      Shape2("Shape2", sprite_template({1560, 600, 495, 495}, red, diagonal_cross, order.next()), order),
      Shape1("Shape1", sprite_template({360, 600, 495, 495}, {0, 0, 192}, plain_fill, order.next()), order)
{
}

void FormControls::bring_to_front(std::string_view widget)
{
    std::erase(widget_order, widget);
    widget_order.push_back(widget);
}

WindowView FormControls::view() const
{
    return WindowView{caption, background, shown,  outer_width, outer_height, client_width(), client_height(),
                      labels_, &backdrop,  pools_, buttons_,    curtain_,     widget_order,   timers_};
}

}  // namespace vorbix
