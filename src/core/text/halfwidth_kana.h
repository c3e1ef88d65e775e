// Readings typed or imported in full-width kana, turned into the half-width katakana that the
// dictionary's readings are made of.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace yomi6 {

// text with every hiragana and full-width katakana as half-width katakana (a voiced or
// semi-voiced kana as its base and the separate mark: が → ｶﾞ, ぱ → ﾊﾟ), the long-vowel mark,
// the kana punctuation and the separate or combining voicing marks as their half-width forms.
// Small kana without a half-width form become their large kana (ゎ → ﾜ, ヵ → ｶ). Every other
// character is left as it is.
std::u16string ToHalfWidthKana(std::u16string_view text);

// The other way: each half-width katakana with the voicing mark after it as one full-width
// katakana (ｶﾞ → ガ, ﾊﾟ → パ, ｳﾞ → ヴ), the half-width long-vowel mark and kana punctuation as
// their full-width forms, a voicing mark that no kana takes as ゛ or ゜. Every other character
// is left as it is.
std::u16string ToFullWidthKana(std::u16string_view text);

// The reading of text as the dictionary stores it: converted as above, then as code page 932
// bytes. None when text holds a character the code page cannot hold.
std::optional<std::string> HalfWidthReadingBytes(std::u16string_view text);

} // namespace yomi6
