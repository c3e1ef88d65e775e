#include "text/cp932.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace yomi6
