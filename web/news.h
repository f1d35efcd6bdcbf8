// What the page's live region tells a player who cannot see the window: a button that comes
// up over the game (the game paused, the game over), and a new best score, once a game.
#pragma once

#include "platform/port.h"

#include <optional>
#include <string>

namespace vorbix::web {

class News {
public:
    // What to tell of the window as it now stands, the window's design beside it for the
    // counters' first texts; "" for nothing new. A new best score is told when the best
    // score first moves in a game, and not again in that game: it moves with every point
    // from then on. A first game, which starts from no best score, tells none.
    std::string of(const WindowView& window, const std::optional<ShownButton>& shown, const WindowView& design);

private:
    std::string shown_;  // the button told of last, or "" for none
    std::string best_at_start_;
    bool best_told_ = false;
};

}  // namespace vorbix::web
