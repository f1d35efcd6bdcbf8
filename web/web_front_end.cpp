// The page's time of day, from the browser.
#include "web/web_front_end.h"

#include <emscripten.h>

namespace vorbix::web {
namespace {

EM_JS(int, seconds_since_midnight_in_page, (), {
    const now = new Date();
    return now.getHours() * 3600 + now.getMinutes() * 60 + now.getSeconds();
});

}  // namespace

int WebFrontEnd::seconds_since_midnight() { return seconds_since_midnight_in_page(); }

}  // namespace vorbix::web
