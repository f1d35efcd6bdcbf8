// Number and text conversions that the counters, the dump and the scripts rely on.
#include "platform/convert.h"

#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace vorbix {
namespace {

TEST(Conversions, LeadingValueReadsTheLeadingNumber)
{
    EXPECT_EQ(leading_value(""), 0);
    EXPECT_EQ(leading_value("000120"), 120);
    EXPECT_EQ(leading_value(" 42abc"), 42);
    EXPECT_EQ(leading_value("abc"), 0);
    EXPECT_EQ(leading_value("-7"), -7);
    EXPECT_EQ(leading_value("+2.5e3"), 2.5);
    EXPECT_EQ(leading_value("-."), 0);
}

TEST(Conversions, DecimalTextHasALeadingBlankForNonNegativeNumbers)
{
    EXPECT_EQ(decimal_text(100000010), " 100000010");
    EXPECT_EQ(decimal_text(0), " 0");
    EXPECT_EQ(decimal_text(-5), "-5");
}

TEST(Conversions, LastCharactersAndCharacterAt)
{
    EXPECT_EQ(last_characters(" 100000010", 6), "000010");
    EXPECT_EQ(last_characters("ab", 6), "ab");
    EXPECT_EQ(character_at("0110", 2), "1");
    EXPECT_EQ(character_at("0110", 0), "");
    EXPECT_EQ(character_at("0110", 5), "");
    EXPECT_EQ(character_at("", 1), "");
}

// The shortest text of a float as the standard library writes it, in positional form.
std::string reference_text(float value)
{
    char text[128];
    const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    return std::string(text, written.ptr);
}

TEST(Conversions, ShortestTextIsTheShortestPositionalTextThatReadsBack)
{
    for (const float value : {0.3f, -1.0000005f, 4176.5f, 292.0f, -4.0f, 137.59998f, 1.1920929e-07f, 1e20f}) {
        EXPECT_EQ(shortest_text(value), reference_text(value));
    }
    EXPECT_EQ(shortest_text(-0.0f), "0");
    // Any float at all, from its bits.
    std::mt19937 bits(2024);
    for (int n = 0; n < 100000; ++n) {
        const std::uint32_t pattern = bits();
        float value = 0;
        std::memcpy(&value, &pattern, sizeof value);
        if (!std::isfinite(value) || value == 0) continue;
        ASSERT_EQ(shortest_text(value), reference_text(value)) << pattern;
    }
}

TEST(Conversions, NumbersReadAndWriteAlikeInALocaleWithADecimalComma)
{
    // German writes 1,5 for 1.5. The locale is made from glibc's sources in a scratch folder.
    const std::string folder = ::testing::TempDir() + "vorbix-locales";
    const std::string make =
        "mkdir -p " + folder + " && localedef -c -i de_DE -f UTF-8 " + folder + "/de_DE.UTF-8 >/dev/null 2>&1";
    [[maybe_unused]] const int made = std::system(make.c_str());
    setenv("LOCPATH", folder.c_str(), 1);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "localedef (package locales) could not make de_DE";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    EXPECT_EQ(leading_value("1.5"), 1.5);
    EXPECT_EQ(decimal_value("0.25"), 0.25);
    EXPECT_EQ(shortest_text(0.3f), "0.3");
    EXPECT_EQ(decimal_text(100000010), " 100000010");
    std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace vorbix
