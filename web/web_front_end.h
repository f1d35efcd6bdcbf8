// The browser page's front end: the headless front end's virtual clock, moved on by the page
// as real time passes, with the question asked in a dialog of the page and the time of day
// read from the browser. While the dialog is open the game waits inside its load event, as it
// does on the desktop: the module is suspended until the player answers.
#pragma once

#include "headless/headless_front_end.h"

namespace vorbix::web {

class WebFrontEnd final : public HeadlessFrontEnd {
public:
    int ask(const std::string& text, const std::string& title) override;
    int seconds_since_midnight() override;

    int questions() const { return questions_; }

private:
    int questions_ = 0;
};

}  // namespace vorbix::web
