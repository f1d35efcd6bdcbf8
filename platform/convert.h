// Conversions between numbers and texts, as the game's counters and captions use them. They
// read and write the same texts on every platform and in every locale.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace vorbix {

// The value of a text's leading number: blanks skipped, then an optional sign, digits and a
// decimal fraction; whatever follows is ignored. The empty text gives 0.
double leading_value(std::string_view text);

// The value of a whole word written as a decimal number (digits, an optional point and
// fraction, an optional exponent, an optional minus sign); nothing when the word is not one.
std::optional<double> decimal_value(std::string_view word);

// The decimal text of a number, with one leading blank before a non-negative number.
std::string decimal_text(double number);

// The shortest decimal text that reads back to the same value, never in exponent form and
// whole values without a point: "0.3", "-1.0000005", "4176.5", "292".
std::string shortest_text(float value);
std::string shortest_text(double value);

// The last n characters of a text (all of it when it is shorter).
std::string last_characters(std::string_view text, int n);

// The one character at 1-based position, or the empty text when it lies outside the text.
std::string character_at(std::string_view text, int position);

// A field that holds either a text or a number, as the score does: digits as text, and a
// plain number for a moment after the fast-drop bonus.
class TextOrNumber {
public:
    TextOrNumber() : value_(std::string{}) {}
    TextOrNumber(std::string text) : value_(std::move(text)) {}
    TextOrNumber(const char* text) : value_(std::string(text)) {}
    TextOrNumber(double number) : value_(number) {}

    bool is_text() const { return std::holds_alternative<std::string>(value_); }
    const std::string& text() const { return std::get<std::string>(value_); }
    double number() const { return std::get<double>(value_); }

    // The value as arithmetic reads it: a text by its leading number.
    double numeric_value() const { return is_text() ? leading_value(text()) : number(); }

    friend bool operator==(const TextOrNumber&, const TextOrNumber&) = default;

private:
    std::variant<std::string, double> value_;
};

}  // namespace vorbix
