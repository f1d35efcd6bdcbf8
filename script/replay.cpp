// The replay engine: script lines, checked, carried out on the headless game.
#include "script/replay.h"

#include "platform/convert.h"
#include "script/dump.h"

#include <charconv>
#include <cmath>
#include <istream>
#include <optional>
#include <ostream>
#include <vector>

namespace vorbix {
namespace {

std::vector<std::string_view> words_of(std::string_view line)
{
    std::vector<std::string_view> words;
    std::size_t i = 0;
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; };
    while (i < line.size()) {
        while (i < line.size() && blank(line[i])) ++i;
        const std::size_t start = i;
        while (i < line.size() && !blank(line[i])) ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

std::string shown(std::string_view word)
{
    constexpr std::size_t longest = 40;
    std::string text;
    for (const char c : word.substr(0, longest)) {
        text += (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) ? '?' : c;
    }
    if (word.size() > longest) text += "...";
    return "\"" + text + "\"";
}

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

void expect_words(const std::vector<std::string_view>& words, std::size_t least, std::size_t most)
{
    if (words.size() < least || words.size() > most) {
        throw ScriptError("wrong number of words for " + shown(words[0]));
    }
}

}  // namespace

Replay::Replay(DumpSink sink) : sink_(std::move(sink)) {}

WindowView Replay::view() const { return form_.window().value_or(design_.view()); }

std::string Replay::dump() const
{
    // Before start the state has never been set and the window stands as designed.
    return dump_json({front_end_.now(), front_end_.asked()}, form_.state, view());
}

void Replay::require_window(std::string_view command) const
{
    if (!started_) throw ScriptError(shown(command) + " needs the window: there has been no \"start\"");
}

void Replay::require_answered() const
{
    if (front_end_.went_unanswered()) {
        throw ScriptError("the question \"Hard Mode?\" was asked with no answer queued");
    }
}

void Replay::start()
{
    if (started_) throw ScriptError("a second \"start\"");
    started_ = true;
    form_.start();
}

void Replay::click(std::string_view name)
{
    const WindowView window = view();
    std::string names;
    for (const PushButton* button : window.buttons) {
        if (button->name == name) return form_.click(name);
        names += (names.empty() ? "" : " or ") + button->name;
    }
    throw ScriptError("no push button named " + shown(name) + " (" + names + ")");
}

std::optional<std::string> Replay::run(std::istream& script)
{
    std::string line;
    for (long number = 1; std::getline(script, line); ++number) {
        try {
            run_line(line);
        } catch (const ScriptError& failure) {
            return "line " + std::to_string(number) + ": " + failure.what();
        }
    }
    return std::nullopt;
}

void Replay::run_line(std::string_view line)
{
    const auto words = words_of(line);
    if (words.empty() || words[0].front() == '#') return;
    const std::string_view command = words[0];
    if (command == "answer") {
        expect_words(words, 2, 2);
        if (words[1] == "yes") {
            front_end_.queue_answer(answer_yes);
        } else if (words[1] == "no") {
            front_end_.queue_answer(answer_no);
        } else {
            throw ScriptError("answer must be yes or no, not " + shown(words[1]));
        }
    } else if (command == "random") {
        expect_words(words, 2, 2);
        form_.random.queue(random_value(words[1]));
    } else if (command == "clock") {
        expect_words(words, 2, 2);
        front_end_.set_clock(static_cast<int>(whole_number(words[1], 0, 86399)));
    } else if (command == "start") {
        expect_words(words, 1, 1);
        start();
    } else if (command == "advance") {
        expect_words(words, 2, 2);
        const long long milliseconds = whole_number(words[1], 0, 86400000);
        require_window(command);
        front_end_.advance(milliseconds);
    } else if (command == "tick") {
        expect_words(words, 2, 3);
        const long long timer = whole_number(words[1], 1, 3);
        const long long count = words.size() == 3 ? whole_number(words[2], 0, 1000000) : 1;
        require_window(command);
        front_end_.tick(static_cast<TimerId>(timer - 1), static_cast<long>(count));
    } else if (command == "key") {
        expect_words(words, 2, 2);
        const long long code = whole_number(words[1], 0, 65535);
        require_window(command);
        form_.key_down(static_cast<int>(code));
    } else if (command == "click") {
        expect_words(words, 2, 2);
        require_window(command);
        click(words[1]);
    } else if (command == "dump") {
        expect_words(words, 1, 1);
        if (sink_) sink_(dump());
    } else {
        throw ScriptError("unknown command " + shown(command));
    }
    require_answered();
}

std::string moment_comment(std::int64_t milliseconds) { return "# @" + std::to_string(milliseconds); }

std::optional<std::int64_t> moment_of(std::string_view line)
{
    const auto words = words_of(line);
    if (words.size() != 2 || words[0] != "#" || words[1].size() < 2 || words[1].front() != '@') return std::nullopt;
    std::int64_t milliseconds = 0;
    const std::string_view digits = words[1].substr(1);
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), milliseconds);
    if (error != std::errc{} || end != digits.data() + digits.size() || milliseconds < 0) return std::nullopt;
    return milliseconds;
}

Pace pace_of(std::string_view line)
{
    const auto words = words_of(line);
    if (words.size() == 2 && words[0] == "advance") return {whole_number(words[1], 0, 86400000), std::nullopt};
    if (words.size() >= 2 && words[0] == "tick") return {0, static_cast<TimerId>(whole_number(words[1], 1, 3) - 1)};
    return {};
}

int run_script(std::istream& script, std::ostream& out, std::ostream& error, const DumpObserver& observer)
{
    Replay replay([&](const std::string& json) {
        out << json << '\n' << std::flush;
        if (observer) observer(replay);
    });
    if (const auto problem = replay.run(script)) {
        error << *problem << '\n';
        return 2;
    }
    return 0;
}

}  // namespace vorbix
