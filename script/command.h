// The lines of the script language as data: what the reader gives and the writer takes. A
// script is a game told as these commands; "# @MS" comments mark the moment of what follows.
#pragma once

#include "platform/timer.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <variant>

namespace vorbix {

// A line that cannot be read or run; the message says what is wrong with it.
struct ScriptError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

namespace script {

// An answer queued for the "Hard Mode?" question: answer_yes or answer_no.
struct Answer {
    int answer = 0;
    friend bool operator==(const Answer&, const Answer&) = default;
};
// A value queued for the random-number source, 0 <= value < 1.
struct Random {
    float value = 0.0f;
    friend bool operator==(const Random&, const Random&) = default;
};
// The time of day the next seeding reads, in seconds since midnight.
struct Clock {
    int seconds = 0;
    friend bool operator==(const Clock&, const Clock&) = default;
};
struct Start {
    friend bool operator==(const Start&, const Start&) = default;
};
struct Advance {
    std::int64_t milliseconds = 0;
    friend bool operator==(const Advance&, const Advance&) = default;
};
struct Tick {
    TimerId timer = TimerId::timer1;
    long count = 1;
    friend bool operator==(const Tick&, const Tick&) = default;
};
struct Key {
    int code = 0;
    friend bool operator==(const Key&, const Key&) = default;
};
struct Click {
    std::string button;
    friend bool operator==(const Click&, const Click&) = default;
};
struct Dump {
    friend bool operator==(const Dump&, const Dump&) = default;
};
// A recording's "# @MS": the events that follow happened MS milliseconds after it began.
struct Moment {
    std::int64_t milliseconds = 0;
    friend bool operator==(const Moment&, const Moment&) = default;
};

using Command = std::variant<Answer, Random, Clock, Start, Advance, Tick, Key, Click, Dump, Moment>;

}  // namespace script
}  // namespace vorbix
