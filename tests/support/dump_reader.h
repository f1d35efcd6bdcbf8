// Reads the replay tool's dump lines for tests: a small JSON reader, members looked up by
// path ("state.row", "timers[1].interval", "Shape1[5][6]"), and a few summaries of the pools.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vorbix::testing {

struct JsonValue {
    enum class Kind { null, boolean, number, string, array, object };
    Kind kind = Kind::null;
    // The literal as written for numbers and booleans; the decoded text for strings.
    std::string scalar;
    std::vector<JsonValue> items;
    std::vector<std::pair<std::string, JsonValue>> members;

    const JsonValue* member(std::string_view name) const
    {
        for (const auto& [key, value] : members) {
            if (key == name) return &value;
        }
        return nullptr;
    }

    // The value written back as compact JSON, as the dump writes it.
    std::string compact() const
    {
        switch (kind) {
        case Kind::null: return "null";
        case Kind::boolean:
        case Kind::number: return scalar;
        case Kind::string: return quote(scalar);
        case Kind::array: {
            std::string out = "[";
            for (std::size_t i = 0; i < items.size(); ++i) out += (i ? "," : "") + items[i].compact();
            return out + "]";
        }
        case Kind::object: {
            std::string out = "{";
            for (std::size_t i = 0; i < members.size(); ++i) {
                out += (i ? "," : "") + quote(members[i].first) + ":" + members[i].second.compact();
            }
            return out + "}";
        }
        }
        return "";
    }

    static std::string quote(const std::string& text)
    {
        std::string out = "\"";
        for (const char c : text) {
            if (c == '"' || c == '\\') out += '\\';
            out += c;
        }
        return out + "\"";
    }
};

class JsonParser {
public:
    static JsonValue parse(std::string_view text)
    {
        JsonParser parser(text);
        JsonValue value = parser.value();
        parser.skip_blanks();
        if (parser.at_ < text.size()) parser.fail("text after the value");
        return value;
    }

private:
    explicit JsonParser(std::string_view text) : text_(text) {}

    [[noreturn]] void fail(const std::string& what) const
    {
        throw std::runtime_error("JSON: " + what + " at offset " + std::to_string(at_));
    }

    void skip_blanks()
    {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\n' || text_[at_] == '\t' || text_[at_] == '\r')) ++at_;
    }

    char peek()
    {
        skip_blanks();
        if (at_ >= text_.size()) fail("unexpected end");
        return text_[at_];
    }

    void expect(char c)
    {
        if (peek() != c) fail(std::string("expected '") + c + "'");
        ++at_;
    }

    std::string string_literal()
    {
        expect('"');
        std::string out;
        while (at_ < text_.size() && text_[at_] != '"') {
            char c = text_[at_++];
            if (c == '\\') {
                if (at_ >= text_.size()) fail("bad escape");
                const char e = text_[at_++];
                switch (e) {
                case 'n': c = '\n'; break;
                case 't': c = '\t'; break;
                case 'u': {
                    if (at_ + 4 > text_.size()) fail("bad escape");
                    c = static_cast<char>(std::stoi(std::string(text_.substr(at_, 4)), nullptr, 16));
                    at_ += 4;
                    break;
                }
                default: c = e;
                }
            }
            out += c;
        }
        expect('"');
        return out;
    }

    JsonValue value()
    {
        JsonValue v;
        const char c = peek();
        if (c == '{') {
            v.kind = JsonValue::Kind::object;
            ++at_;
            if (peek() == '}') {
                ++at_;
                return v;
            }
            for (;;) {
                std::string key = string_literal();
                expect(':');
                v.members.emplace_back(std::move(key), value());
                if (peek() == ',') {
                    ++at_;
                    continue;
                }
                expect('}');
                return v;
            }
        }
        if (c == '[') {
            v.kind = JsonValue::Kind::array;
            ++at_;
            if (peek() == ']') {
                ++at_;
                return v;
            }
            for (;;) {
                v.items.push_back(value());
                if (peek() == ',') {
                    ++at_;
                    continue;
                }
                expect(']');
                return v;
            }
        }
        if (c == '"') {
            v.kind = JsonValue::Kind::string;
            v.scalar = string_literal();
            return v;
        }
        const std::size_t start = at_;
        while (at_ < text_.size() && std::string_view("+-.0123456789eEtruefalsn").find(text_[at_]) != std::string_view::npos) ++at_;
        v.scalar = std::string(text_.substr(start, at_ - start));
        if (v.scalar == "true" || v.scalar == "false") {
            v.kind = JsonValue::Kind::boolean;
        } else if (v.scalar == "null") {
            v.kind = JsonValue::Kind::null;
        } else if (!v.scalar.empty()) {
            v.kind = JsonValue::Kind::number;
        } else {
            fail("unexpected character");
        }
        return v;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

// One dump, looked up by path. Besides plain paths, a pool name followed by "#visible" lists
// the element numbers that are visible, and "Shape2#settled" those inside the walls.
class Dump {
public:
    explicit Dump(std::string_view line) : root_(JsonParser::parse(line)) {}

    const JsonValue& root() const { return root_; }

    // The member at a path, as compact JSON; nothing when the path leads nowhere.
    std::optional<std::string> at(std::string_view path) const
    {
        const auto hash = path.find('#');
        if (hash != std::string_view::npos) return summary(path.substr(0, hash), path.substr(hash + 1));
        const JsonValue* value = find(path);
        if (value == nullptr) return std::nullopt;
        return value->compact();
    }

    const JsonValue* find(std::string_view path) const
    {
        const JsonValue* value = &root_;
        std::size_t i = 0;
        while (i < path.size() && value != nullptr) {
            if (path[i] == '.') {
                ++i;
                continue;
            }
            if (path[i] == '[') {
                const auto close = path.find(']', i);
                if (close == std::string_view::npos) return nullptr;
                const std::size_t index = std::stoul(std::string(path.substr(i + 1, close - i - 1)));
                value = value->kind == JsonValue::Kind::array && index < value->items.size() ? &value->items[index] : nullptr;
                i = close + 1;
                continue;
            }
            const auto end = path.find_first_of(".[", i);
            const auto name = path.substr(i, end == std::string_view::npos ? std::string_view::npos : end - i);
            value = value->member(name);
            i = end == std::string_view::npos ? path.size() : end;
        }
        return value;
    }

private:
    std::optional<std::string> summary(std::string_view pool, std::string_view what) const
    {
        const JsonValue* elements = find(pool);
        if (elements == nullptr || elements->kind != JsonValue::Kind::array) return std::nullopt;
        std::string out = "[";
        int count = 0;
        for (std::size_t n = 0; n < elements->items.size(); ++n) {
            const JsonValue& element = elements->items[n];
            if (element.items.size() != 7 || element.items[6].scalar != "1") continue;
            if (what == "settled") {
                const std::size_t row = (n - 1) / 12;
                const std::size_t column = (n - 1) % 12;
                if (n == 0 || row < 1 || row > 20 || column < 1 || column > 10) continue;
            } else if (what != "visible" && what != "count") {
                return std::nullopt;
            }
            out += (count++ ? "," : "") + std::to_string(n);
        }
        if (what == "count") return std::to_string(count);
        return out + "]";
    }

    JsonValue root_;
};

}  // namespace vorbix::testing
