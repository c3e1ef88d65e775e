// The long-vowel mark as the voice can say it: the vowel of the unit before it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace yomi6 {

// The half-width vowel (ｱ ｲ ｳ ｴ ｵ) that lengthens the last kana of reading[0, length), its sound
// marks passed over; a blank when there is no such kana or it has no vowel (ﾝ, ｯ).
std::uint8_t LongVowelAfter(const std::uint8_t* reading, std::size_t length);

} // namespace yomi6
