// A controller's readings turned into the game's keys and clicks, and the question's answers.
#include "platform/controller_map.h"

#include <cmath>

namespace vorbix {
namespace {

PadAction key_action(int code) { return {PadAction::Kind::key, code, {}}; }

}  // namespace

ControllerMap::Held ControllerMap::held_in(const PadReading& reading)
{
    Held held{Direction::none, reading.bottom, reading.right, reading.start};
    // The D-pad says what it means; where it says nothing the stick speaks, along the axis it
    // leans furthest, so that a move slightly off the horizontal does not drop the piece.
    const int across = static_cast<int>(reading.pad_right) - static_cast<int>(reading.pad_left);
    const int along = static_cast<int>(reading.pad_down) - static_cast<int>(reading.pad_up);
    if (across != 0) {
        held.direction = across < 0 ? Direction::left : Direction::right;
    } else if (along != 0) {
        held.direction = along < 0 ? Direction::up : Direction::down;
    } else if (std::abs(reading.stick_x) >= std::abs(reading.stick_y)) {
        if (std::abs(reading.stick_x) > dead_zone)
            held.direction = reading.stick_x < 0 ? Direction::left : Direction::right;
    } else if (std::abs(reading.stick_y) > dead_zone) {
        held.direction = reading.stick_y < 0 ? Direction::up : Direction::down;
    }
    return held;
}

std::vector<PadAction> ControllerMap::read(const PadReading& reading, std::int64_t now, const GamePort& game)
{
    const Held now_held = held_in(reading);
    std::vector<PadAction> actions;
    if (question_open_) {
        answer(now_held, actions);
    } else {
        play(now_held, now, game, actions);
    }
    held_ = now_held;
    return actions;
}

void ControllerMap::play(const Held& now_held, std::int64_t now, const GamePort& game, std::vector<PadAction>& actions)
{
    if (moves_now(now_held, now))
        actions.push_back(key_action(now_held.direction == Direction::left ? key::left : key::right));
    if (now_held.bottom && !held_.bottom) actions.push_back(key_action(key::a));
    if (now_held.right && !held_.right) actions.push_back(key_action(key::s));
    if (now_held.direction == Direction::down && held_.direction != Direction::down)
        actions.push_back(key_action(key::down));
    // Start comes last: a click that asks the question hands what follows to the question.
    if (now_held.start && !held_.start) {
        const std::optional<ShownButton> shown = game.shown_button();
        if (!shown) {
            actions.push_back(key_action(key::p));
        } else {
            actions.push_back({PadAction::Kind::click, key::none, std::string(shown->name)});
            if (shown->asks_question) question_opened();
        }
    }
}

// A new left or right moves at once; held, it moves again once the first delay has passed
// and then at the repeat rate, never more than once a reading.
bool ControllerMap::moves_now(const Held& now_held, std::int64_t now)
{
    const bool sideways = now_held.direction == Direction::left || now_held.direction == Direction::right;
    if (!sideways) return false;
    if (now_held.direction != held_.direction) {
        next_repeat_ = now + first_repeat_ms;
        return true;
    }
    if (now < next_repeat_) return false;
    // A reading that comes late moves once, and the rate goes on from it.
    next_repeat_ += repeat_ms;
    if (next_repeat_ <= now) next_repeat_ = now + repeat_ms;
    return true;
}

void ControllerMap::answer(const Held& now_held, std::vector<PadAction>& actions) const
{
    if (now_held.direction != held_.direction) {
        if (now_held.direction == Direction::left || now_held.direction == Direction::up) {
            actions.push_back({PadAction::Kind::previous_answer, key::none, {}});
        } else if (now_held.direction != Direction::none) {
            actions.push_back({PadAction::Kind::next_answer, key::none, {}});
        }
    }
    if ((now_held.bottom && !held_.bottom) || (now_held.start && !held_.start)) {
        actions.push_back({PadAction::Kind::choose_answer, key::none, {}});
    }
}

void ControllerMap::question_opened() { question_open_ = true; }

void ControllerMap::question_closed() { question_open_ = false; }

void ControllerMap::forget() { held_ = {}; }

bool ControllerMap::in_play(const GamePort& game) const { return !question_open_ && !game.shown_button(); }

}  // namespace vorbix
