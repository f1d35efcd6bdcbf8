// Number and text conversions that the counters rely on.
#include "platform/convert.h"

#include <gtest/gtest.h>

namespace vorbix {
namespace {

TEST(Conversions, LeadingValueReadsTheLeadingNumber)
{
    EXPECT_EQ(leading_value(""), 0);
    EXPECT_EQ(leading_value("000120"), 120);
    EXPECT_EQ(leading_value(" 42abc"), 42);
    EXPECT_EQ(leading_value("abc"), 0);
    EXPECT_EQ(leading_value("-7"), -7);
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

}  // namespace
}  // namespace vorbix
