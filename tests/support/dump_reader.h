// Reads the replay tool's dump lines for tests: members looked up by path ("state.row",
// "timers[1].interval", "Shape1[5][6]") and a few summaries of the pools.
#pragma once

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <string_view>

namespace vorbix::testing {

using Json = nlohmann::ordered_json;

// One dump, looked up by path. Besides plain paths, a pool name followed by "#visible" lists
// the element numbers that are visible, "#count" counts them, and "Shape2#settled" lists
// those inside the walls.
class Dump {
public:
    explicit Dump(std::string_view line) : root_(Json::parse(line)) {}

    // The member at a path, as compact JSON; nothing when the path leads nowhere.
    std::optional<std::string> at(std::string_view path) const
    {
        const auto hash = path.find('#');
        if (hash != std::string_view::npos) return summary(path.substr(0, hash), path.substr(hash + 1));
        const Json* value = find(path);
        if (value == nullptr) return std::nullopt;
        return value->dump();
    }

    const Json* find(std::string_view path) const
    {
        const Json* value = &root_;
        for (std::size_t i = 0; i < path.size() && value != nullptr;) {
            if (path[i] == '.') {
                ++i;
            } else if (path[i] == '[') {
                const auto close = path.find(']', i);
                const std::size_t index = std::stoul(std::string(path.substr(i + 1, close - i - 1)));
                value = value->is_array() && index < value->size() ? &(*value)[index] : nullptr;
                i = close + 1;
            } else {
                const auto end = std::min(path.find_first_of(".[", i), path.size());
                const auto member = value->find(std::string(path.substr(i, end - i)));
                value = value->is_object() && member != value->end() ? &*member : nullptr;
                i = end;
            }
        }
        return value;
    }

private:
    std::optional<std::string> summary(std::string_view pool, std::string_view what) const
    {
        const Json* elements = find(pool);
        if (elements == nullptr || !elements->is_array()) return std::nullopt;
        if (what != "visible" && what != "count" && what != "settled") return std::nullopt;
        std::string out;
        int count = 0;
        for (std::size_t n = 0; n < elements->size(); ++n) {
            if ((*elements)[n][6] != 1) continue;
            const std::size_t row = (n - 1) / 12;
            const std::size_t column = (n - 1) % 12;
            if (what == "settled" && (n == 0 || row < 1 || row > 20 || column < 1 || column > 10)) continue;
            out += (count++ ? "," : "") + std::to_string(n);
        }
        return what == "count" ? std::to_string(count) : "[" + out + "]";
    }

    Json root_;
};

}  // namespace vorbix::testing
