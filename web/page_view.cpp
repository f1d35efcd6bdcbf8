// Writing the window for the page: everything it draws, nothing it does not.
#include "web/page_view.h"

#include "platform/convert.h"
#include "script/dump.h"

#include <fmt/format.h>

namespace vorbix::web {
namespace {

std::string place(const Rect& rect)
{
    return fmt::format("[{},{},{},{}]", shortest_text(rect.left), shortest_text(rect.top), shortest_text(rect.width),
                       shortest_text(rect.height));
}

std::string font(const FontSpec& design)
{
    return fmt::format(R"({{"family":{},"points":{},"bold":{},"italic":{}}})", json_string(design.family),
                       shortest_text(design.points), design.bold, design.italic);
}

std::string label(const Label& l)
{
    return fmt::format(R"({{"text":{},"place":{},"font":{},"opaque":{},"background":{},"visible":{}}})",
                       json_string(l.text), place(l.place), font(l.font), l.opaque_background,
                       json_colour(l.background), l.visible);
}

std::string button(const PushButton& b)
{
    return fmt::format(R"({{"name":{},"caption":{},"place":{},"font":{},"visible":{}}})", json_string(b.name),
                       json_string(b.caption), place(b.place), font(b.font), b.visible);
}

std::string half(const Panel& p)
{
    return fmt::format(R"({{"name":{},"place":{},"inside":[{},{}],"visible":{}}})", json_string(p.name), place(p.place),
                       shortest_text(p.child_width), shortest_text(p.child_height), p.visible);
}

template <typename Items, typename Write>
std::string list(const Items& items, Write write)
{
    std::string out = "[";
    for (const auto* item : items) out += (out.size() > 1 ? "," : "") + write(*item);
    return out + "]";
}

float packed(const Rgb& colour) { return static_cast<float>((colour.red << 16) | (colour.green << 8) | colour.blue); }

}  // namespace

std::string controls_json(const WindowView& window)
{
    std::string stacking = "[";
    for (const std::string_view name : window.stacking)
        stacking += (stacking.size() > 1 ? "," : "") + json_string(name);
    const Outline& outline = *window.outline;
    return fmt::format(R"({{"caption":{},"background":{},"client":[{},{}],"labels":{},)"
                       R"("outline":{{"place":{},"colour":{},"visible":{}}},"buttons":{},"curtain":{},)"
                       R"("stacking":{}]}})",
                       json_string(window.caption), json_colour(window.background), shortest_text(window.client_width),
                       shortest_text(window.client_height), list(window.labels, label), place(outline.place),
                       json_colour(outline.colour), outline.visible, list(window.buttons, button),
                       list(window.curtain, half), stacking);
}

bool ControlsSeen::changed(const WindowView& window)
{
    Seen now;
    now.caption = window.caption;
    now.background = window.background;
    now.client_width = window.client_width;
    now.client_height = window.client_height;
    for (const Label* label : window.labels) now.labels.push_back(*label);
    now.outline = *window.outline;
    for (const PushButton* button : window.buttons) now.buttons.push_back(*button);
    for (const Panel* half : window.curtain) now.curtain.push_back(*half);
    now.stacking.assign(window.stacking.begin(), window.stacking.end());
    if (seen_ && *seen_ == now) return false;
    seen_ = std::move(now);
    return true;
}

std::vector<float> sprite_records(const WindowView& window)
{
    std::vector<float> records;
    for (const ShownSprite& shown : sprites_bottom_up(window)) {
        const CellSprite& s = *shown.sprite;
        records.insert(records.end(), {static_cast<float>(shown.pool), static_cast<float>(shown.element), s.place.left,
                                       s.place.top, s.place.width, s.place.height, packed(s.fill),
                                       static_cast<float>(s.pattern), packed(s.outline), static_cast<float>(s.z)});
    }
    return records;
}

}  // namespace vorbix::web
