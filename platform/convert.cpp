// Conversions between numbers and texts.
#include "platform/convert.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace vorbix {

double leading_value(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t digits_start = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    }
    if (i == digits_start) return 0.0;
    std::string number(text.substr(start, i - start));
    if (number == "+" || number == "-" || number == "." || number == "+." || number == "-.") return 0.0;
    return std::strtod(number.c_str(), nullptr);
}

std::string decimal_text(double number)
{
    char digits[64];
    std::to_chars_result written{};
    if (number == std::floor(number) && std::fabs(number) < 1e15) {
        written = std::to_chars(digits, digits + sizeof digits, static_cast<long long>(number));
    } else {
        written = std::to_chars(digits, digits + sizeof digits, number);
    }
    std::string text(digits, written.ptr);
    return number < 0 ? text : " " + text;
}

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
