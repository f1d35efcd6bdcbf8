// The frame: the window's title and size, and its window-system controls in whole pixels.
#include "paint/frame.h"

#include "paint/text_lines.h"
#include "paint/whole_pixels.h"

#include <utility>

namespace vorbix::paint {
namespace {

Widget widget_of(const Rect& place, double twips_per_pixel)
{
    const auto pixels = [&](float twips) { return whole(static_cast<double>(twips) / twips_per_pixel); };
    Widget widget;
    widget.left = pixels(place.left);
    widget.top = pixels(place.top);
    widget.width = pixels(place.width);
    widget.height = pixels(place.height);
    return widget;
}

}  // namespace

Frame frame_of(const WindowView& window, double twips_per_pixel)
{
    Frame frame;
    frame.caption = window.caption;
    frame.width = whole(static_cast<double>(window.client_width) / twips_per_pixel);
    frame.height = whole(static_cast<double>(window.client_height) / twips_per_pixel);
    for (const PushButton* button : window.buttons) {
        Widget& widget = frame.buttons.emplace_back(widget_of(button->place, twips_per_pixel));
        widget.name = button->name;
        widget.visible = button->visible;
        widget.caption = button->caption;
        widget.font = button->font;
        for (TextLine& line : broken_lines(button->caption, button->font, twips_per_pixel, widget.width)) {
            widget.lines.push_back(std::move(line.text));
        }
        widget.line_advance = line_advance(button->font, twips_per_pixel);
    }
    for (const Panel* half : window.curtain) {
        Widget& widget = frame.curtain.emplace_back(widget_of(half->place, twips_per_pixel));
        const Widget inside = widget_of(Rect{0.0f, 0.0f, half->child_width, half->child_height}, twips_per_pixel);
        widget.name = half->name;
        widget.visible = half->visible;
        widget.inner_name = half->child_name;
        widget.inner_width = inside.width;
        widget.inner_height = inside.height;
    }
    frame.stacking.assign(window.stacking.begin(), window.stacking.end());
    return frame;
}

}  // namespace vorbix::paint
