// Integers typed into a dialog's edit box: what is accepted, what is refused, and the limits.
#include "text/integer_text.h"

#include <gtest/gtest.h>
#include <string>

namespace yomi6 {
namespace {

TEST(IntegerTextTest, AcceptsASignedNumberBetweenBlanksAndTabs) {
    EXPECT_EQ(ParseIntegerText("180"), 180);
    EXPECT_EQ(ParseIntegerText(" \t180\t "), 180);
    EXPECT_EQ(ParseIntegerText("+5"), 5);
    EXPECT_EQ(ParseIntegerText("-5"), -5);
    EXPECT_EQ(ParseIntegerText("0"), 0);
    EXPECT_EQ(ParseIntegerText("  000 "), 0);
    EXPECT_EQ(ParseIntegerText("0012"), 12);
    EXPECT_EQ(ParseIntegerText("1500"), 1500); // the range is the caller's check
}

TEST(IntegerTextTest, RefusesTextThatIsNotJustANumber) {
    for (const char* text : {"", "   ", "-", "+", "abc", "12a", "1 2", "0x10", "１２", "1.5"}) {
        EXPECT_EQ(ParseIntegerText(text), std::nullopt) << '"' << text << '"';
    }
}

TEST(IntegerTextTest, ZeroCountsOnlyWhenTheTextStartsWithTheDigitZero) {
    EXPECT_EQ(ParseIntegerText("-0"), std::nullopt);
    EXPECT_EQ(ParseIntegerText("+0"), std::nullopt);
    EXPECT_EQ(ParseIntegerText("\v0"), std::nullopt);
    // Other white space before a non-zero number is skipped by the conversion.
    EXPECT_EQ(ParseIntegerText("\v7"), 7);
}

TEST(IntegerTextTest, OnlyTheFirst31BytesCount) {
    EXPECT_EQ(ParseIntegerText(std::string(29, ' ') + "42"), 42);
    EXPECT_EQ(ParseIntegerText(std::string(30, ' ') + "42"), 4);
    EXPECT_EQ(ParseIntegerText(std::string(31, ' ') + "42"), std::nullopt);
    EXPECT_EQ(ParseIntegerText("7" + std::string(30, ' ') + "x"), 7);
}

TEST(IntegerTextTest, NumbersBeyond32BitsSaturate) {
    EXPECT_EQ(ParseIntegerText("2147483647"), 2147483647);
    EXPECT_EQ(ParseIntegerText("99999999999999999999"), 2147483647);
    EXPECT_EQ(ParseIntegerText("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ParseIntegerText("-99999999999999999999"), -2147483647 - 1);
}

} // namespace
} // namespace yomi6
