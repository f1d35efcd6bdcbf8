// Conversions between numbers and texts. Numbers are read with fast_float and written with
// fmt: both are exact and locale-free, and neither needs the standard library's
// floating-point conversions, which some platforms lack.
#include "platform/convert.h"

#include <fast_float/fast_float.h>
#include <fmt/format.h>

#include <cmath>

namespace vorbix {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// A number below 1 in exponent form ("1.1920929e-07") written out in positional form.
std::string positional(const std::string& text)
{
    const std::size_t e = text.find('e');
    if (e == std::string::npos) return text;
    std::string digits;
    for (const char c : text.substr(0, e)) {
        if (is_digit(c)) digits += c;
    }
    const auto zeros = static_cast<std::size_t>(-std::stoi(text.substr(e + 1)) - 1);
    return (text.front() == '-' ? "-0." : "0.") + std::string(zeros, '0') + digits;
}

// Whole values are written in full, every digit exact; others with the fewest digits that
// read back to the same value, which for them is never in exponent form above 1.
template <typename Number>
std::string shortest(Number value)
{
    if (value == 0) return "0";  // also for -0
    if (value == std::floor(value)) return fmt::format("{:.0f}", value);
    return positional(fmt::format("{}", value));
}

}  // namespace

double leading_value(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t start = i;
    while (i < text.size() && is_digit(text[i])) ++i;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && is_digit(text[i])) ++i;
    }
    // A point with no digit on either side reads as no number at all.
    double value = 0.0;
    const auto read =
        fast_float::from_chars(text.data() + start, text.data() + i, value, fast_float::chars_format::fixed);
    if (read.ec != std::errc{}) return 0.0;
    return negative ? -value : value;
}

std::optional<double> decimal_value(std::string_view word)
{
    double value = 0.0;
    const char* end = word.data() + word.size();
    const auto read = fast_float::from_chars(word.data(), end, value);
    if (read.ec != std::errc{} || read.ptr != end) return std::nullopt;
    return value;
}

std::string decimal_text(double number)
{
    const std::string text = number == std::floor(number) && std::fabs(number) < 1e15
                                 ? std::to_string(static_cast<long long>(number))
                                 : shortest(number);
    return number < 0 ? text : " " + text;
}

std::string shortest_text(float value) { return shortest(value); }

std::string shortest_text(double value) { return shortest(value); }

std::string last_characters(std::string_view text, int n)
{
    if (n <= 0) return {};
    const auto count = static_cast<std::size_t>(n);
    return std::string(text.size() <= count ? text : text.substr(text.size() - count));
}

std::string character_at(std::string_view text, int position)
{
    if (position < 1 || static_cast<std::size_t>(position) > text.size()) return {};
    return std::string(1, text[static_cast<std::size_t>(position) - 1]);
}

}  // namespace vorbix
