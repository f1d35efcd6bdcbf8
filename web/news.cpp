// The live region's news, from the window's own buttons and labels.
#include "web/news.h"

#include "platform/window_view.h"

#include <string_view>

namespace vorbix::web {
namespace {

std::string_view text_of(const WindowView& window, std::string_view label)
{
    const Label* found = label_named(window, label);
    return found != nullptr ? std::string_view(found->text) : std::string_view();
}

std::string_view caption_of(const WindowView& window, std::string_view button)
{
    const PushButton* found = button_named(window, button);
    return found != nullptr ? std::string_view(found->caption) : std::string_view();
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
