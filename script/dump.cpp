// Writing the dump: the game state, the window and every control, one JSON object a line.
#include "script/dump.h"

#include "platform/convert.h"

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace vorbix {
namespace {

std::string float_text(float value) { return shortest_text(value); }

std::string bool_text(bool value) { return value ? "true" : "false"; }

// A JSON object from members already written as JSON.
using Members = std::vector<std::pair<std::string, std::string>>;

std::string object(const Members& members)
{
    std::string out = "{";
    for (const auto& [name, value] : members) {
        if (out.size() > 1) out += ",";
        out += json_string(name) + ":" + value;
    }
    return out + "}";
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
    const std::string score = s.score.is_text() ? json_string(s.score.text()) : shortest_text(s.score.number());
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
                   {"hiscore", json_string(s.hiscore)},
                   {"rowcount", json_string(s.rowcount)},
                   {"blockcount", json_string(s.blockcount)}});
}

std::string label_json(const Label& label)
{
    return object({{"text", json_string(label.text)},
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
               float_text(sprite.place.width) + "," + float_text(sprite.place.height) + "," + json_colour(sprite.fill) +
               "," + std::to_string(sprite.pattern) + "," + (sprite.visible ? "1" : "0") + "]";
    }
    return out + "]";
}

std::string window_json(const WindowView& window)
{
    return object({{"shown", bool_text(window.shown)},
                   {"caption", json_string(window.caption)},
                   {"outer_width", float_text(window.outer_width)},
                   {"outer_height", float_text(window.outer_height)},
                   {"client_width", float_text(window.client_width)},
                   {"client_height", float_text(window.client_height)}});
}

}  // namespace

std::string json_string(std::string_view text)
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

std::string json_colour(const Rgb& colour)
{
    char text[16];
    std::snprintf(text, sizeof text, "\"#%02x%02x%02x\"", colour.red, colour.green, colour.blue);
    return text;
}

std::string dump_json(const DumpContext& context, const GameState& state, const WindowView& window)
{
    std::string timers;
    for (const Timer* timer : window.timers) timers += (timers.empty() ? "" : ",") + timer_json(*timer);
    Members labels;
    for (const Label* label : window.labels) labels.emplace_back(label->name, label_json(*label));
    Members buttons;
    for (const PushButton* button : window.buttons) {
        buttons.emplace_back(button->name, place_members(button->place, button->visible));
    }
    Members curtain;
    for (const Panel* half : window.curtain) {
        curtain.emplace_back(half->name, place_members(half->place, half->visible));
    }
    for (const Panel* half : window.curtain) {
        curtain.emplace_back(half->child_name, object({{"width", float_text(half->child_width)},
                                                       {"height", float_text(half->child_height)}}));
    }
    const Rect& box = window.outline->place;
    Members members{{"t", std::to_string(context.time)},
                    {"asked", std::to_string(context.asked)},
                    {"state", state_json(state)},
                    {"window", window_json(window)},
                    {"timers", "[" + timers + "]"},
                    {"labels", object(labels)},
                    {"buttons", object(buttons)},
                    {"curtain", object(curtain)},
                    {"backdrop", object({{"left", float_text(box.left)},
                                         {"top", float_text(box.top)},
                                         {"width", float_text(box.width)},
                                         {"height", float_text(box.height)}})}};
    for (const SpritePool* pool : window.pools) members.emplace_back(pool->name(), pool_json(*pool));
    return object(members);
}

}  // namespace vorbix
