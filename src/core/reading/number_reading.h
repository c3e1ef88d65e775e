// The spoken reading of a number written in a Japanese text: digits (ASCII or full-width) or
// kanji numerals with their place values, signs, thousands separators, decimals, dotted version
// numbers and addresses, per cent, the prefix 第 and a counter word directly after the number,
// with the sound changes a speaker makes (三百 ｻﾝﾋﾞｬｸ, 一本 ｲｯﾎﾟﾝ, 四日 ﾖｯｶ).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace yomi6 {

struct NumberReading {
    std::size_t length = 0; // UTF-8 bytes of the source consumed (sign, digits, separators, decimal
                            // part, %, counter)
    std::string reading;    // half-width katakana as code page 932 bytes (0xA6..0xDF)
};

// Digit strings longer than this, and digit strings with a leading zero, are read digit by digit.
inline constexpr std::size_t kMaxPlaceValueDigits = 16;

// Recognises a number expression at the start of utf8 (ASCII/full-width digits or kanji numerals,
// optional sign, separators, decimals, %, version/dotted numbers, a following counter) and gives
// its reading; nothing when utf8 does not start with a number.
//
// A counter is taken when it follows the number directly or after one blank ("2 つ" ﾌﾀﾂ).
// One call reads one expression: "3月4日" gives the reading of "3月" and the caller calls again
// at "4日". Kanji numerals are taken wherever they stand; whether a kanji numeral starts a word
// of its own (一般, 十分) is the caller's judgement.
std::optional<NumberReading> ReadNumber(std::string_view utf8);

} // namespace yomi6
