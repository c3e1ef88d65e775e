// The code page 932 mapping as data (generated into cp932_table.cpp by
// tools/gen_cp932_table.py). Only canonical codes are in the tables: a code whose character
// encodes to another code (a duplicate) is absent, as are codes that are no character.
#pragma once

#include "text/cp932.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace yomi6::cp932 {

// Table value of a code that is not decoded to a character.
inline constexpr char16_t kNoChar = 0xFFFF;

inline constexpr std::size_t kLeadByteCount = 60;   // 0x81-0x9F and 0xE0-0xFC
inline constexpr std::size_t kTrailByteCount = 189; // 0x40-0xFC, 0x7F included and empty
inline constexpr std::uint8_t kFirstTrailByte = 0x40;

// Row of a lead byte in kDoubleByteChars.
constexpr std::size_t LeadRow(std::uint8_t lead) {
    return lead <= 0x9F ? static_cast<std::size_t>(lead - 0x81)
                        : static_cast<std::size_t>(lead - 0xE0 + 31);
}

// The character of each byte read on its own; kNoChar for lead bytes.
extern const char16_t kSingleByteChars[256];

// The character of each lead and trail byte pair: [LeadRow(lead)][trail - kFirstTrailByte].
extern const char16_t kDoubleByteChars[kLeadByteCount][kTrailByteCount];

// A character that no code decodes to but that stands for a code all the same: the JIS X 0208
// mapping of a code whose code page 932 character differs (U+301C WAVE DASH for 0x8160).
struct EncodeAlias {
    char16_t ch;
    std::uint16_t code;
};
inline constexpr std::size_t kEncodeAliasCount = 6;
extern const EncodeAlias kEncodeAliases[kEncodeAliasCount];

// The code of each BMP character (lead byte high, trail byte low; a single byte's code is the
// byte), or 0 for a character code page 932 does not have.
inline constexpr std::size_t kEncodeCodeCount = 0x10000;
extern const std::array<std::uint16_t, kEncodeCodeCount> kEncodeCodes;

} // namespace yomi6::cp932
