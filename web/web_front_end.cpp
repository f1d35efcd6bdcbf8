// The page's question box and clock, in the page's own scripts (site/session.js, site/page.js).
#include "web/web_front_end.h"

#include <emscripten.h>

namespace vorbix::web {
namespace {

// Shows the page's dialog and suspends the module until it is answered: true for Yes.
EM_ASYNC_JS(int, ask_in_page, (const char* text, const char* title),
            { return await Module.askInPage(UTF8ToString(text), UTF8ToString(title)) ? 1 : 0; });

EM_JS(int, seconds_since_midnight_in_page, (), {
    const now = new Date();
    return now.getHours() * 3600 + now.getMinutes() * 60 + now.getSeconds();
});

}  // namespace

int WebFrontEnd::ask(const std::string& text, const std::string& title)
{
    ++questions_;
    return ask_in_page(text.c_str(), title.c_str()) != 0 ? answer_yes : answer_no;
}

int WebFrontEnd::seconds_since_midnight() { return seconds_since_midnight_in_page(); }

}  // namespace vorbix::web
