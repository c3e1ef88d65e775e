// The fixed folding rules of the reading: digits and Latin letters, the rows 0x81, 0x82, 0x83
// of Shift-JIS and the kana rule. Each function writes the output of one character into out
// (at most 7 bytes) and returns its length.
#pragma once

#include <cstddef>
#include <cstdint>

namespace yomi6 {

inline constexpr std::size_t kMaxFoldedBytes = 7; // "W" reads as 7 bytes

// A byte that no lead byte precedes: digits and letters by their reading, everything else as is.
std::size_t FoldSingleByte(std::uint8_t b, std::uint8_t* out);

// The second byte of a character of row 0x82 (hiragana, full-width digits and letters).
std::size_t FoldRow82(std::uint8_t b, std::uint8_t* out);

// The second byte of a character of row 0x83 (full-width katakana).
std::size_t FoldRow83(std::uint8_t b, std::uint8_t* out);

// The second byte of a character of row 0x81 (full-width punctuation and signs).
std::size_t FoldRow81(std::uint8_t b, std::uint8_t* out);

} // namespace yomi6
