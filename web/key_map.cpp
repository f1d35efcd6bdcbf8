// The key table between the browser and the game.
#include "web/key_map.h"

#include "platform/port.h"

namespace vorbix::web {

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

}  // namespace vorbix::web
