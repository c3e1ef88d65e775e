// Code page 932 (Shift-JIS) byte classes.
#pragma once

#include <cstdint>

namespace yomi6::cp932 {

// First byte of a two-byte character: 0x81-0x9F or 0xE0-0xFC.
constexpr bool IsLeadByte(std::uint8_t b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Second byte of a two-byte character: 0x40-0x7E or 0x80-0xFC.
constexpr bool IsTrailByte(std::uint8_t b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// A lead byte followed by a trail byte: the legal double-byte character test.
constexpr bool IsLegalPair(std::uint8_t lead, std::uint8_t trail) {
    return IsLeadByte(lead) && IsTrailByte(trail);
}

// Single-byte half-width katakana and punctuation, 0xA1-0xDF.
constexpr bool IsHalfWidthKana(std::uint8_t b) {
    return b >= 0xA1 && b <= 0xDF;
}

} // namespace yomi6::cp932
