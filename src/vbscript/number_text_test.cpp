// Numbers to text and back, as CStr and the conversions do it.
#include "vbscript/number_text.h"

#include <gtest/gtest.h>

namespace taviro::vbscript {
namespace {

TEST(NumberText, DoublesUseFifteenDigitsAndExponentsOutsideTheFixedRange) {
    EXPECT_EQ(FormatDouble(0.1), u"0.1");
    EXPECT_EQ(FormatDouble(-0.5), u"-0.5");
    EXPECT_EQ(FormatDouble(1e20), u"1E+20");
    EXPECT_EQ(FormatDouble(1e-5), u"1E-05");
    EXPECT_EQ(FormatDouble(0.0001), u"0.0001");
    EXPECT_EQ(FormatDouble(100), u"100");
    EXPECT_EQ(FormatDouble(1.0 / 3.0), u"0.333333333333333");
    EXPECT_EQ(FormatDouble(123456789012345678.0), u"1.23456789012346E+17");
    EXPECT_EQ(FormatDouble(1e15), u"1E+15");
    EXPECT_EQ(FormatDouble(999999999999999.0), u"999999999999999");
    EXPECT_EQ(FormatDouble(-0.0), u"0");
}

TEST(NumberText, CurrencyDropsTrailingZeros) {
    EXPECT_EQ(FormatCurrency(15000), u"1.5");
    EXPECT_EQ(FormatCurrency(-30000), u"-3");
    EXPECT_EQ(FormatCurrency(1), u"0.0001");
}

TEST(NumberText, TextReadsAsNumberWithBlanksSignsExponentsAndRadixPrefixes) {
    double value = 0;
    EXPECT_TRUE(ParseNumber(u" 12 ", value));
    EXPECT_EQ(value, 12);
    EXPECT_TRUE(ParseNumber(u"&H10", value));
    EXPECT_EQ(value, 16);
    EXPECT_TRUE(ParseNumber(u"&o17", value));
    EXPECT_EQ(value, 15);
    EXPECT_TRUE(ParseNumber(u"1e3", value));
    EXPECT_EQ(value, 1000);
    EXPECT_TRUE(ParseNumber(u"-.5", value));
    EXPECT_EQ(value, -0.5);
    EXPECT_TRUE(ParseNumber(u"&HFFFFFFFF", value));
    EXPECT_EQ(value, -1);
    EXPECT_TRUE(ParseNumber(u"1,000.5", value));
    EXPECT_EQ(value, 1000.5);
}

TEST(NumberText, TextThatIsNotANumberIsRefused) {
    double value = 0;
    EXPECT_FALSE(ParseNumber(u"$5", value));
    EXPECT_FALSE(ParseNumber(u"", value));
    EXPECT_FALSE(ParseNumber(u"   ", value));
    EXPECT_FALSE(ParseNumber(u"1x", value));
    EXPECT_FALSE(ParseNumber(u"1e", value));
    EXPECT_FALSE(ParseNumber(u".", value));
    EXPECT_FALSE(ParseNumber(u"&H", value));
    EXPECT_FALSE(ParseNumber(u",5", value));
    EXPECT_FALSE(ParseNumber(u"1/2/2020", value));
}

TEST(TextDecoding, InvalidUtf8IsReadAsWindows1252) {
    EXPECT_EQ(FromUtf8OrWindows1252("caf\xC3\xA9"), u"caf\u00e9");
    EXPECT_EQ(FromUtf8OrWindows1252("caf\xE9 \x80"), u"caf\u00e9 \u20ac");
    EXPECT_EQ(ToUtf8(u"\u20ac"), "\xE2\x82\xAC");
}

}  // namespace
}  // namespace taviro::vbscript
