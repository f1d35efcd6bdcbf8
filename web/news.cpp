// The live region's news, from the window's own buttons and labels.
#include "web/news.h"

#include <algorithm>
#include <string_view>

namespace vorbix::web {
namespace {

std::string_view text_of(const WindowView& window, std::string_view label)
{
    const auto found = std::find_if(window.labels.begin(), window.labels.end(),
                                    [label](const Label* shown) { return shown->name == label; });
    return found != window.labels.end() ? std::string_view((*found)->text) : std::string_view();
}

std::string_view caption_of(const WindowView& window, std::string_view button)
{
    const auto found = std::find_if(window.buttons.begin(), window.buttons.end(),
                                    [button](const PushButton* shown) { return shown->name == button; });
    return found != window.buttons.end() ? std::string_view((*found)->caption) : std::string_view();
}

}  // namespace

std::string News::of(const WindowView& window, const std::optional<ShownButton>& shown, const WindowView& design)
{
    std::string told;
    const std::string_view best = text_of(window, "hscorelabel");
    // A game starts from the score's first text, and stays there until its first points.
    if (text_of(window, "scorelabel") == text_of(design, "scorelabel")) {
        best_at_start_ = best;
        best_told_ = false;
    } else if (!best_told_ && best != best_at_start_ && best_at_start_ != text_of(design, "hscorelabel")) {
        best_told_ = true;
        told = best;
    }
    const std::string_view button = shown ? shown->name : std::string_view();
    if (button != shown_) {
        shown_ = button;
        if (!button.empty()) told += (told.empty() ? "" : ". ") + std::string(caption_of(window, button));
    }
    return told;
}

}  // namespace vorbix::web
