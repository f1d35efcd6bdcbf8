// The key and controller tables between the browser and the game.
#include "web/key_map.h"

#include "platform/port.h"

namespace vorbix::web {
namespace {

// The standard layout's buttons by their place in the Gamepad API's list.
enum StandardButton : unsigned {
    bottom_face = 0,
    right_face = 1,
    start_button = 9,
    pad_up = 12,
    pad_down = 13,
    pad_left = 14,
    pad_right = 15,
};

}  // namespace

int virtual_key(std::string_view key)
{
    if (key == "ArrowLeft") return key::left;
    if (key == "ArrowUp") return key::up;
    if (key == "ArrowRight") return key::right;
    if (key == "ArrowDown") return key::down;
    // A key that types one character of ASCII; the names of other keys are longer.
    if (key.size() == 1) return key::of_character(static_cast<unsigned char>(key[0]));
    return key::none;
}

PadReading standard_pad(std::uint32_t pressed, float stick_x, float stick_y)
{
    const auto held = [pressed](StandardButton button) { return ((pressed >> button) & 1U) != 0; };
    return PadReading{.pad_left = held(pad_left),
                      .pad_right = held(pad_right),
                      .pad_up = held(pad_up),
                      .pad_down = held(pad_down),
                      .stick_x = stick_x,
                      .stick_y = stick_y,
                      .bottom = held(bottom_face),
                      .right = held(right_face),
                      .start = held(start_button)};
}

}  // namespace vorbix::web
