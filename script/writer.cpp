// Writing script lines.
#include "script/writer.h"

#include "platform/convert.h"
#include "platform/port.h"

#include <string>

namespace vorbix::script {
namespace {

std::string number(std::int64_t value) { return std::to_string(value); }

std::string timer_number(TimerId timer) { return number(static_cast<int>(timer) + 1); }

// The line of each kind of command.
struct Line {
    std::string operator()(const Answer& a) const { return a.answer == answer_yes ? "answer yes" : "answer no"; }
    std::string operator()(const Random& r) const { return "random " + shortest_text(r.value); }
    std::string operator()(const Clock& c) const { return "clock " + number(c.seconds); }
    std::string operator()(const Start&) const { return "start"; }
    std::string operator()(const Advance& a) const { return "advance " + number(a.milliseconds); }
    std::string operator()(const Tick& t) const
    {
        return "tick " + timer_number(t.timer) + (t.count == 1 ? "" : " " + number(t.count));
    }
    std::string operator()(const Key& k) const { return "key " + number(k.code); }
    std::string operator()(const Click& c) const { return "click " + c.button; }
    std::string operator()(const Dump&) const { return "dump"; }
    std::string operator()(const Moment& m) const { return "# @" + number(m.milliseconds); }
};

}  // namespace

std::string line_of(const Command& command) { return std::visit(Line{}, command); }

std::string comment_line(std::string_view text) { return "# " + std::string(text); }

}  // namespace vorbix::script
