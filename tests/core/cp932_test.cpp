#include "text/cp932.h"
#include "text/sentence_end.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace yomi6 {
namespace {

TEST(Cp932Test, ByteClassesAtTheirBoundaries) {
    EXPECT_FALSE(cp932::IsLeadByte(0x80));
    EXPECT_TRUE(cp932::IsLeadByte(0x81));
    EXPECT_TRUE(cp932::IsLeadByte(0x9F));
    EXPECT_FALSE(cp932::IsLeadByte(0xA0));
    EXPECT_FALSE(cp932::IsLeadByte(0xDF));
    EXPECT_TRUE(cp932::IsLeadByte(0xE0));
    EXPECT_TRUE(cp932::IsLeadByte(0xFC));
    EXPECT_FALSE(cp932::IsLeadByte(0xFD));

    EXPECT_FALSE(cp932::IsTrailByte(0x3F));
    EXPECT_TRUE(cp932::IsTrailByte(0x40));
    EXPECT_TRUE(cp932::IsTrailByte(0x7E));
    EXPECT_FALSE(cp932::IsTrailByte(0x7F));
    EXPECT_TRUE(cp932::IsTrailByte(0x80));
    EXPECT_TRUE(cp932::IsTrailByte(0xFC));
    EXPECT_FALSE(cp932::IsTrailByte(0xFD));

    EXPECT_TRUE(cp932::IsLegalPair(0x82, 0xA0));
    EXPECT_FALSE(cp932::IsLegalPair(0x82, 0x7F));
    EXPECT_FALSE(cp932::IsLegalPair(0xA0, 0x82));
    EXPECT_TRUE(cp932::IsHalfWidthKana(0xA1));
    EXPECT_TRUE(cp932::IsHalfWidthKana(0xDF));
    EXPECT_FALSE(cp932::IsHalfWidthKana(0xE0));
}

TEST(Cp932Test, WideSentenceEndsAreTheFourStopsOfRowOne) {
    // 。 ． ？ ！ end a sentence; their neighbours (、 ， ： ； ＿) and the same trail bytes in
    // another row do not.
    for (const std::uint8_t trail : std::initializer_list<std::uint8_t>{0x42, 0x44, 0x48, 0x49}) {
        EXPECT_TRUE(cp932::IsWideSentenceEnd(0x81, trail)) << int{trail};
        EXPECT_FALSE(cp932::IsWideSentenceEnd(0x82, trail)) << int{trail};
    }
    for (const std::uint8_t trail :
         std::initializer_list<std::uint8_t>{0x41, 0x43, 0x45, 0x46, 0x47, 0x4A, 0x51}) {
        EXPECT_FALSE(cp932::IsWideSentenceEnd(0x81, trail)) << int{trail};
    }
}

TEST(Cp932Test, SentenceEndsOfBothWidthsAndTheStopsThatEndNothing) {
    const auto at = [](std::string_view text, std::size_t i, bool textEnds = true) {
        return cp932::SentenceEndLength(text, i, textEnds);
    };
    EXPECT_EQ(at("\x82\xA0\x81\x44", 2), 2u); // ．after あ
    EXPECT_EQ(at("\x82\xA0\x81\x44", 1), 0u); // the trail byte of あ is no character
    EXPECT_EQ(at("\xB1\xA1", 1), 1u);         // ｡ whatever follows
    EXPECT_EQ(at("3.14", 1), 0u);             // a decimal point
    EXPECT_EQ(at("e.g.x", 1), 0u);
    EXPECT_EQ(at("Hm!? ok", 2), 0u); // the ! of !? ends nothing; its ? does
    EXPECT_EQ(at("Hm!? ok", 3), 1u);
    EXPECT_EQ(at("end.\r\n", 3), 1u);
    EXPECT_EQ(at("end.\tx", 3), 1u);
    EXPECT_EQ(at("end.", 3), 1u);        // the end of the text
    EXPECT_EQ(at("end.", 3, false), 0u); // the end of a piece, not of the text
    EXPECT_EQ(at("end.", 4), 0u);
}

} // namespace
} // namespace yomi6
