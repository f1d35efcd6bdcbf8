// Reading script lines: the first word names the command, and only as many words as that
// command takes are read after it.
#include "script/reader.h"

#include "platform/convert.h"
#include "platform/port.h"

#include <fmt/format.h>

#include <array>
#include <charconv>
#include <cmath>

namespace vorbix::script {
namespace {

constexpr std::string_view byte_order_mark = "\xef\xbb\xbf";

bool blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// The words of a line, one at a time.
class Words {
public:
    explicit Words(std::string_view line) : rest_(line) {}

    // The next word; "" once the line has no more.
    std::string_view next()
    {
        std::size_t start = 0;
        while (start < rest_.size() && blank(rest_[start])) ++start;
        std::size_t end = start;
        while (end < rest_.size() && !blank(rest_[end])) ++end;
        const std::string_view word = rest_.substr(start, end - start);
        rest_.remove_prefix(end);
        return word;
    }

private:
    std::string_view rest_;
};

long long whole_number(std::string_view word, long long lowest, long long highest)
{
    unsigned long long value = 0;
    const bool digits_only = !word.empty() && word.find_first_not_of("0123456789") == std::string_view::npos;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (!digits_only) throw ScriptError("not a whole number: " + shown(word));
    if (error != std::errc{} || end != word.data() + word.size() || value > static_cast<unsigned long long>(highest) ||
        static_cast<long long>(value) < lowest) {
        throw ScriptError("number out of range (" + std::to_string(lowest) + " to " + std::to_string(highest) +
                          "): " + shown(word));
    }
    return static_cast<long long>(value);
}

float random_value(std::string_view word)
{
    const std::optional<double> value = decimal_value(word);
    if (!value) throw ScriptError("not a number: " + shown(word));
    if (!(*value >= 0.0 && *value < 1.0)) throw ScriptError("random value out of range (0 <= X < 1): " + shown(word));
    // Keep a value just below 1 below 1 in single precision too.
    const float single = static_cast<float>(*value);
    return single < 1.0f ? single : std::nextafter(1.0f, 0.0f);
}

// "# @MS": the moment of the events that follow.
std::optional<Command> moment(Words& words)
{
    const std::string_view mark = words.next();
    if (mark.size() < 2 || mark.front() != '@' || !words.next().empty()) return std::nullopt;
    std::int64_t milliseconds = 0;
    const std::string_view digits = mark.substr(1);
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), milliseconds);
    if (error != std::errc{} || end != digits.data() + digits.size() || milliseconds < 0) return std::nullopt;
    return Moment{milliseconds};
}

// The words that follow a command's name, at least least and at most most (two at most) of
// them; the line is read no further than one word past the most.
struct Arguments {
    std::array<std::string_view, 2> word;

    Arguments(Words& words, std::string_view command, std::size_t least, std::size_t most)
    {
        std::size_t count = 0;
        for (std::string_view next = words.next(); !next.empty(); next = words.next()) {
            if (count == most) {
                count = most + 1;
                break;
            }
            word[count++] = next;
        }
        if (count < least || count > most) throw ScriptError("wrong number of words for " + shown(command));
    }
};

Command answer(std::string_view word)
{
    if (word == "yes") return Answer{answer_yes};
    if (word == "no") return Answer{answer_no};
    throw ScriptError("answer must be yes or no, not " + shown(word));
}

Command tick(const Arguments& given)
{
    const long long timer = whole_number(given.word[0], 1, 3);
    const long long count = given.word[1].empty() ? 1 : whole_number(given.word[1], 0, 1000000);
    return Tick{static_cast<TimerId>(timer - 1), static_cast<long>(count)};
}

}  // namespace

std::string shown(std::string_view word)
{
    // Only printable ASCII goes to the terminal as it is; every other byte is written out,
    // so that the message shows what the line holds and never cuts a character in two.
    constexpr std::size_t longest = 40;
    std::string text;
    for (const char c : word.substr(0, longest)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\\' || byte == '"') {
            text += {'\\', c};
        } else if (byte >= 0x20 && byte < 0x7f) {
            text += c;
        } else {
            text += fmt::format("\\x{:02x}", byte);
        }
    }
    if (word.size() > longest) text += "...";
    return "\"" + text + "\"";
}

std::optional<Command> read_line(std::string_view line)
{
    // An editor may begin a file with the mark, which shows as nothing on the screen.
    if (line.starts_with(byte_order_mark)) {
        throw ScriptError(
            "the line begins with a byte-order mark (\\xef\\xbb\\xbf): save the script as plain "
            "text, without it");
    }
    Words words(line);
    const std::string_view command = words.next();
    if (command.empty()) return std::nullopt;
    if (command.front() == '#') return command == "#" ? moment(words) : std::nullopt;
    // The number of words is checked before any of them is read as a value.
    const auto one = [&] { return Arguments(words, command, 1, 1).word[0]; };
    const auto alone = [&](Command bare) {
        Arguments(words, command, 0, 0);
        return bare;
    };
    if (command == "answer") return answer(one());
    if (command == "random") return Random{random_value(one())};
    if (command == "clock") return Clock{static_cast<int>(whole_number(one(), 0, 86399))};
    if (command == "advance") return Advance{whole_number(one(), 0, 86400000)};
    if (command == "tick") return tick(Arguments(words, command, 1, 2));
    if (command == "key") return Key{static_cast<int>(whole_number(one(), 0, 65535))};
    if (command == "click") return Click{std::string(one())};
    if (command == "start") return alone(Start{});
    if (command == "dump") return alone(Dump{});
    throw ScriptError("unknown command " + shown(command));
}

}  // namespace vorbix::script
