// The replay engine: script lines, checked, carried out on the headless game.
#include "script/replay.h"

#include "script/dump.h"
#include "script/reader.h"

#include <cerrno>
#include <cstring>
#include <istream>
#include <optional>
#include <ostream>

namespace vorbix {

using script::shown;

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
        if (button->name == name) {
            form_.click(name);
            return;
        }
        names += (names.empty() ? "" : " or ") + button->name;
    }
    throw ScriptError("no push button named " + shown(name) + " (" + names + ")");
}

std::optional<std::string> Replay::run(std::istream& script, const std::function<void(const script::Command&)>& ran)
{
    script::Lines lines = script::Lines::of(script);
    return run(lines, ran);
}

std::optional<std::string> Replay::run(script::Lines& lines, const std::function<void(const script::Command&)>& ran)
{
    while (const auto line = lines.next()) {
        try {
            if (const auto command = script::read_line(*line)) {
                run(*command);
                if (ran) ran(*command);
            }
        } catch (const ScriptError& failure) {
            return "line " + std::to_string(lines.number()) + ": " + failure.what();
        }
    }
    return lines.failure();
}

void Replay::run_line(std::string_view line)
{
    if (const auto command = script::read_line(line)) run(*command);
}

// What each command does to the game.
struct Replay::Run {
    Replay& replay;

    void operator()(const script::Answer& a) const { replay.front_end_.queue_answer(a.answer); }
    void operator()(const script::Random& r) const { replay.form_.random.queue(r.value); }
    void operator()(const script::Clock& c) const { replay.front_end_.set_clock(c.seconds); }
    void operator()(const script::Start&) const { replay.start(); }
    void operator()(const script::Advance& a) const
    {
        replay.require_window("advance");
        replay.front_end_.advance(a.milliseconds);
    }
    void operator()(const script::Tick& t) const
    {
        replay.require_window("tick");
        replay.front_end_.tick(t.timer, t.count);
    }
    void operator()(const script::Key& k) const
    {
        replay.require_window("key");
        replay.form_.key_down(k.code);
    }
    void operator()(const script::Click& c) const
    {
        replay.require_window("click");
        replay.click(c.button);
    }
    void operator()(const script::Dump&) const
    {
        if (replay.sink_) replay.sink_(replay.dump());
    }
    void operator()(const script::Moment&) const {}
};

void Replay::run(const script::Command& command)
{
    std::visit(Run{*this}, command);
    require_answered();
}

int run_script(script::Lines& script, std::ostream& out, std::ostream& error, const DumpObserver& observer,
               std::string_view program)
{
    // A dump that cannot be written stops the run as a faulty line does.
    Replay replay([&](const std::string& json) {
        errno = 0;
        out << json << '\n' << std::flush;
        if (!out) {
            throw ScriptError(std::string("cannot write the dump: ") + (errno != 0 ? std::strerror(errno) : "failed"));
        }
        if (observer) observer(replay);
    });
    auto problem = replay.run(script);
    if (!problem && !(out << std::flush)) problem = "cannot write the dumps";
    if (problem) {
        const bool of_a_line = problem->starts_with("line ");
        error << (of_a_line || program.empty() ? "" : std::string(program) + ": ") << *problem << '\n';
        return 2;
    }
    return 0;
}

int run_script(std::istream& script, std::ostream& out, std::ostream& error, const DumpObserver& observer)
{
    script::Lines lines = script::Lines::of(script);
    return run_script(lines, out, error, observer);
}

}  // namespace vorbix
