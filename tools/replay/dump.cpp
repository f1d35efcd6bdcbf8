// Writing the dump: the game state, the window and every control, one JSON object a line.
#include "tools/replay/dump.h"

#include <charconv>
#include <cmath>
#include <initializer_list>
#include <utility>

namespace vorbix {
namespace {

std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (const unsigned char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

// The shortest text that reads back to the same value, never in exponent form.
template <typename Number>
std::string shortest_text(Number value)
{
    if (value == 0) return "0";  // also for -0
    char text[400];
    const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    return std::string(text, written.ptr);
}

std::string number_text(double value) { return shortest_text(value); }

std::string bool_text(bool value) { return value ? "true" : "false"; }

// A JSON object from members already written as JSON.
std::string object(std::initializer_list<std::pair<const char*, std::string>> members)
{
    std::string out = "{";
    for (const auto& [name, value] : members) {
        if (out.size() > 1) out += ",";
        out += quoted(name) + ":" + value;
    }
    return out + "}";
}

std::string colour_text(const Rgb& colour)
{
    char text[16];
    std::snprintf(text, sizeof text, "\"#%02x%02x%02x\"", colour.red, colour.green, colour.blue);
    return text;
}

std::string place_members(const Rect& place, bool visible)
{
    return object({{"left", float_text(place.left)},
                   {"top", float_text(place.top)},
                   {"width", float_text(place.width)},
                   {"height", float_text(place.height)},
                   {"visible", bool_text(visible)}});
}

std::string state_json(const GameState& s)
{
    const std::string score = s.score.is_text() ? quoted(s.score.text()) : number_text(s.score.number());
    return object({{"piece", std::to_string(s.piece)},
                   {"nextpiece", float_text(s.nextpiece)},
                   {"rotation", std::to_string(s.rotation)},
                   {"col", std::to_string(s.col)},
                   {"row", float_text(s.row)},
                   {"fallstep", float_text(s.fallstep)},
                   {"landed", std::to_string(s.landed)},
                   {"collided", std::to_string(s.collided)},
                   {"maskrow", std::to_string(s.maskrow)},
                   {"maskcol", std::to_string(s.maskcol)},
                   {"outer", std::to_string(s.outer)},
                   {"inner", std::to_string(s.inner)},
                   {"lastvalue", std::to_string(s.lastvalue)},
                   {"cellsize", float_text(s.cellsize)},
                   {"difficulty", std::to_string(s.difficulty)},
                   {"gamelevel", std::to_string(s.gamelevel)},
                   {"score", score},
                   {"hiscore", quoted(s.hiscore)},
                   {"rowcount", quoted(s.rowcount)},
                   {"blockcount", quoted(s.blockcount)}});
}

std::string label_json(const Label& label)
{
    return object({{"text", quoted(label.text)},
                   {"left", float_text(label.place.left)},
                   {"top", float_text(label.place.top)},
                   {"width", float_text(label.place.width)},
                   {"visible", bool_text(label.visible)}});
}

std::string timer_json(const Timer& timer)
{
    return object({{"interval", std::to_string(timer.interval())}, {"enabled", bool_text(timer.enabled())}});
}

std::string pool_json(const SpritePool& pool)
{
    std::string out = "[";
    for (int k = 0; k < pool.size(); ++k) {
        if (!pool.exists(k)) continue;
        const CellSprite& sprite = pool[k];
        if (out.size() > 1) out += ",";
        out += "[" + float_text(sprite.place.left) + "," + float_text(sprite.place.top) + "," +
               float_text(sprite.place.width) + "," + float_text(sprite.place.height) + "," +
               colour_text(sprite.fill) + "," + std::to_string(sprite.pattern) + "," +
               (sprite.visible ? "1" : "0") + "]";
    }
    return out + "]";
}

std::string window_json(const FormControls& c)
{
    return object({{"shown", bool_text(c.shown)},
                   {"caption", quoted(c.caption)},
                   {"outer_width", float_text(c.outer_width)},
                   {"outer_height", float_text(c.outer_height)},
                   {"client_width", float_text(c.client_width())},
                   {"client_height", float_text(c.client_height())}});
}

}  // namespace

std::string float_text(float value)
{
    return shortest_text(value);
}

std::string dump_json(const DumpContext& context, const GameState& state, const FormControls& c)
{
    const std::string timers =
        "[" + timer_json(c.Timer1) + "," + timer_json(c.Timer2) + "," + timer_json(c.Timer3) + "]";
    const std::string labels = object({{"npiece", label_json(c.npiece)},
                                       {"scorelabel", label_json(c.scorelabel)},
                                       {"hscorelabel", label_json(c.hscorelabel)},
                                       {"rowslabel", label_json(c.rowslabel)},
                                       {"piecelabel", label_json(c.piecelabel)},
                                       {"Level", label_json(c.Level)}});
    const std::string buttons = object({{"Pause", place_members(c.Pause.place, c.Pause.visible)},
                                        {"Command1", place_members(c.Command1.place, c.Command1.visible)}});
    const auto child = [](const Panel& panel) {
        return object({{"width", float_text(panel.child_width)}, {"height", float_text(panel.child_height)}});
    };
    const std::string curtain = object({{"covertop", place_members(c.covertop.place, c.covertop.visible)},
                                        {"coverbottom", place_members(c.coverbottom.place, c.coverbottom.visible)},
                                        {"cot", child(c.covertop)},
                                        {"cob", child(c.coverbottom)}});
    const Rect& box = c.backdrop.place;
    const std::string backdrop = object({{"left", float_text(box.left)},
                                         {"top", float_text(box.top)},
                                         {"width", float_text(box.width)},
                                         {"height", float_text(box.height)}});
    return object({{"t", std::to_string(context.time)},
                   {"asked", std::to_string(context.asked)},
                   {"state", state_json(state)},
                   {"window", window_json(c)},
                   {"timers", timers},
                   {"labels", labels},
                   {"buttons", buttons},
                   {"curtain", curtain},
                   {"backdrop", backdrop},
                   {"Shape1", pool_json(c.Shape1)},
                   {"Shape2", pool_json(c.Shape2)},
                   {"Shape3", pool_json(c.Shape3)}});
}

}  // namespace vorbix
