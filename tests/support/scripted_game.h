// A headless game driven by vorbix-replay script lines, carried out exactly as vorbix-replay
// carries them out, with a hook around every timer tick so that a test can look at the game
// between two ticks of one "advance". Only the lines a test writes are understood: answer,
// random, start, key, click, tick (one tick) and advance.
#pragma once

#include "platform/headless/headless_backend.h"
#include "window/form1.h"

#include <cstdlib>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>

namespace vorbix::testing {

class ScriptedGame {
public:
    // Called around every tick handler: before (true) and after (false) it runs.
    using TickHook = std::function<void(TimerId, bool before)>;

    ScriptedGame()
    {
        backend.on_tick([this](TimerId id) {
            if (hook) hook(id, true);
            form.timer_tick(id);
            if (hook) hook(id, false);
        });
    }

    void run(const std::string& line)
    {
        std::istringstream words(line);
        std::string command;
        std::string argument;
        words >> command >> argument;
        const bool needs_window = command != "answer" && command != "random" && command != "start";
        if (needs_window && !started) throw std::invalid_argument("\"" + command + "\" before \"start\"");
        if (command == "start" && started) throw std::invalid_argument("a second \"start\"");
        if (command == "answer") {
            backend.queue_answer(argument == "yes" ? answer_yes : answer_no);
        } else if (command == "random") {
            // As vorbix-replay reads it: the decimal value, then single precision.
            backend.queue_random(static_cast<float>(std::strtod(argument.c_str(), nullptr)));
        } else if (command == "start") {
            form.Show();
            started = true;
        } else if (command == "key") {
            form.Form_KeyDown(std::stoi(argument), 0);
        } else if (command == "click") {
            if (argument == "Pause" && form.controls->Pause.visible) form.Pause_Click();
            if (argument == "Command1" && form.controls->Command1.visible) form.Command1_Click();
        } else if (command == "tick") {
            backend.tick(static_cast<TimerId>(std::stoi(argument) - 1));
        } else if (command == "advance") {
            backend.advance(std::stoll(argument));
        } else {
            throw std::invalid_argument("not a line this driver writes: " + line);
        }
    }

    HeadlessBackend backend;
    Form1 form{backend};
    TickHook hook;
    bool started = false;
};

}  // namespace vorbix::testing
