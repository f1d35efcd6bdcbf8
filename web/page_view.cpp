// Writing the window for the page: everything it draws, nothing it does not.
#include "web/page_view.h"

#include "platform/convert.h"
#include "script/dump.h"

#include <fmt/format.h>
#include <fmt/ranges.h>

namespace vorbix::web {
namespace {

double packed(const Rgb& colour) { return static_cast<double>((colour.red << 16) | (colour.green << 8) | colour.blue); }

void add_box(std::vector<double>& numbers, const paint::Box& box)
{
    numbers.insert(numbers.end(), {box.left, box.top, box.width, box.height});
}

std::string box_json(const paint::Box& box)
{
    return fmt::format("[{},{},{},{}]", shortest_text(box.left), shortest_text(box.top), shortest_text(box.width),
                       shortest_text(box.height));
}

template <typename Items, typename Write>
std::string list(const Items& items, Write write)
{
    std::string out = "[";
    for (const auto& item : items) out += (out.size() > 1 ? "," : "") + write(item);
    return out + "]";
}

std::string widget_json(const paint::Widget& w, const paint::Scale& scale)
{
    return fmt::format(
        R"({{"name":{},"place":[{},{},{},{}],"visible":{},"caption":{},"lines":{},"lineAdvance":{},"font":{},"inside":[{},{}]}})",
        json_string(w.name), w.left, w.top, w.width, w.height, w.visible, json_string(w.caption),
        list(w.lines, [](const std::string& line) { return json_string(line); }), shortest_text(w.line_advance),
        json_string(css_font(w.font, scale)), w.inner_width, w.inner_height);
}

}  // namespace

std::vector<double> paint_numbers(const paint::PaintPlan& plan, std::span<const paint::Box> areas,
                                  std::span<const paint::PaintOp> ops)
{
    std::vector<double> numbers{static_cast<double>(plan.width), static_cast<double>(plan.height),
                                static_cast<double>(areas.size()), static_cast<double>(ops.size()), 0.0};
    numbers.reserve(numbers.size() + 4 * areas.size() + op_size * ops.size());
    for (const paint::Box& area : areas) add_box(numbers, area);
    for (const paint::PaintOp& op : ops) {
        numbers.push_back(static_cast<double>(op.kind));
        add_box(numbers, op.box);
        numbers.insert(numbers.end(),
                       {packed(op.colour), static_cast<double>(op.pattern), static_cast<double>(op.run)});
    }
    return numbers;
}

std::string layout_json()
{
    using Kind = paint::PaintOp::Kind;
    std::string hatches = "[[]";
    for (int pattern = plain_fill; pattern <= diagonal_cross; ++pattern) {
        hatches += fmt::format(",[{}]", fmt::join(paint::hatch_tile(static_cast<FillPattern>(pattern)), ","));
    }
    hatches += "]";
    return fmt::format(R"({{"opSize":{},"fill":{},"hatch":{},"text":{},"twipsPerPixel":{},"hatches":{}}})", op_size,
                       static_cast<int>(Kind::fill), static_cast<int>(Kind::hatch), static_cast<int>(Kind::text),
                       shortest_text(paint::Scale{}.twips_per_pixel), hatches);
}

std::string runs_json(const paint::PaintPlan& plan)
{
    return list(plan.runs, [&plan](const paint::TextRun& run) {
        return fmt::format(R"({{"text":{},"font":{},"clip":{}}})", json_string(run.text),
                           json_string(css_font(run.font, plan.scale)), box_json(run.clip));
    });
}

std::string labels_json(const WindowView& window)
{
    return list(window.labels, [](const Label* label) {
        return fmt::format(R"({{"name":{},"text":{},"visible":{}}})", json_string(label->name),
                           json_string(label->text), label->visible);
    });
}

std::string frame_json(const paint::Frame& frame, const paint::Scale& scale, const std::optional<ShownButton>& shown,
                       const std::string& labels, const std::string& news)
{
    const auto widget = [&scale](const paint::Widget& w) { return widget_json(w, scale); };
    const std::string button =
        shown ? fmt::format(R"({{"name":{},"asks":{}}})", json_string(shown->name), shown->asks_question) : "null";
    return fmt::format(
        R"({{"caption":{},"size":[{},{}],"buttons":{},"curtain":{},"stacking":{},"shown":{},"labels":{},"news":{}}})",
        json_string(frame.caption), frame.width, frame.height, list(frame.buttons, widget), list(frame.curtain, widget),
        list(frame.stacking, json_string), button, labels, json_string(news));
}

std::string css_font(const FontSpec& font, const paint::Scale& scale)
{
    const double pixels = static_cast<double>(font.points) * twips_per_point / scale.twips_per_pixel;
    return fmt::format(R"({}{}{}px "{}")", font.italic ? "italic " : "", font.bold ? "bold " : "",
                       shortest_text(pixels), font.family);
}

}  // namespace vorbix::web
