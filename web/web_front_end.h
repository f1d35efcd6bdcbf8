// The browser page's front end: the headless front end's virtual clock, moved on by the page
// as real time passes, with the time of day read from the browser. The page asks the question
// in its own dialog before the event that asks it and queues the answer, as vorbix-replay
// queues its "answer" lines, so that the game never waits for the player.
#pragma once

#include "headless/headless_front_end.h"

namespace vorbix::web {

class WebFrontEnd final : public HeadlessFrontEnd {
public:
    int seconds_since_midnight() override;
};

}  // namespace vorbix::web
