// The replay engine: script lines, checked, carried out on the headless game.
#include "tools/replay/replay.h"

#include "tools/replay/dump.h"

#include <charconv>
#include <cmath>
#include <istream>
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
    double value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error == std::errc::invalid_argument || end != word.data() + word.size()) {
        throw ScriptError("not a number: " + shown(word));
    }
    if (error != std::errc{} || !(value >= 0.0 && value < 1.0)) {
        throw ScriptError("random value out of range (0 <= X < 1): " + shown(word));
    }
    // Keep a value just below 1 below 1 in single precision too.
    const float single = static_cast<float>(value);
    return single < 1.0f ? single : std::nextafter(1.0f, 0.0f);
}

void expect_words(const std::vector<std::string_view>& words, std::size_t least, std::size_t most)
{
    if (words.size() < least || words.size() > most) {
        throw ScriptError("wrong number of words for " + shown(words[0]));
    }
}

}  // namespace

Replay::Replay(DumpSink sink) : sink_(std::move(sink))
{
    backend_.on_tick([this](TimerId id) { form_->timer_tick(id); });
}

std::string Replay::dump() const
{
    const DumpContext context{backend_.now(), backend_.asked()};
    if (form_ && form_->controls) return dump_json(context, form_->state, *form_->controls);
    // Before start: the design of the window, not shown, and a state never set.
    const FormControls design;
    return dump_json(context, form_ ? form_->state : GameState{}, design);
}

void Replay::require_window(std::string_view command) const
{
    if (!form_) throw ScriptError(shown(command) + " needs the window: there has been no \"start\"");
}

void Replay::start()
{
    if (form_) throw ScriptError("a second \"start\"");
    form_ = std::make_unique<Form1>(backend_);
    form_->Show();
}

void Replay::click(std::string_view name)
{
    if (name == "Pause") {
        if (form_->controls->Pause.visible) form_->Pause_Click();
    } else if (name == "Command1") {
        if (form_->controls->Command1.visible) form_->Command1_Click();
    } else {
        throw ScriptError("no push button named " + shown(name) + " (Pause or Command1)");
    }
}

void Replay::run_line(std::string_view line)
{
    const auto words = words_of(line);
    if (words.empty() || words[0].front() == '#') return;
    const std::string_view command = words[0];
    try {
        if (command == "answer") {
            expect_words(words, 2, 2);
            if (words[1] == "yes") {
                backend_.queue_answer(answer_yes);
            } else if (words[1] == "no") {
                backend_.queue_answer(answer_no);
            } else {
                throw ScriptError("answer must be yes or no, not " + shown(words[1]));
            }
        } else if (command == "random") {
            expect_words(words, 2, 2);
            backend_.queue_random(random_value(words[1]));
        } else if (command == "clock") {
            expect_words(words, 2, 2);
            backend_.set_clock(static_cast<int>(whole_number(words[1], 0, 86399)));
        } else if (command == "start") {
            expect_words(words, 1, 1);
            start();
        } else if (command == "advance") {
            expect_words(words, 2, 2);
            const long long milliseconds = whole_number(words[1], 0, 86400000);
            require_window(command);
            backend_.advance(milliseconds);
        } else if (command == "tick") {
            expect_words(words, 2, 3);
            const long long timer = whole_number(words[1], 1, 3);
            const long long count = words.size() == 3 ? whole_number(words[2], 0, 1000000) : 1;
            require_window(command);
            backend_.tick(static_cast<TimerId>(timer - 1), static_cast<long>(count));
        } else if (command == "key") {
            expect_words(words, 2, 2);
            const long long code = whole_number(words[1], 0, 65535);
            require_window(command);
            form_->Form_KeyDown(static_cast<int>(code), 0);
        } else if (command == "click") {
            expect_words(words, 2, 2);
            require_window(command);
            click(words[1]);
        } else if (command == "dump") {
            expect_words(words, 1, 1);
            sink_(dump());
        } else {
            throw ScriptError("unknown command " + shown(command));
        }
    } catch (const NoAnswerQueued& error) {
        throw ScriptError(error.what());
    }
}

int run_script(std::istream& script, std::ostream& out, std::ostream& error, const DumpObserver& observer)
{
    Replay replay([&](const std::string& json) {
        out << json << '\n' << std::flush;
        if (observer) observer(replay);
    });
    std::string line;
    for (long number = 1; std::getline(script, line); ++number) {
        try {
            replay.run_line(line);
        } catch (const ScriptError& failure) {
            error << "line " << number << ": " << failure.what() << '\n';
            return 2;
        }
    }
    return 0;
}

}  // namespace vorbix
