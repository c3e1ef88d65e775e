// The classes of Japanese characters the reading asks about, of a code point and of UTF-8 text
// (decoded with text/utf8_codec.h: a byte that starts no well-formed character is of no class).
#pragma once

#include <string_view>

namespace yomi6 {

// ぁ (U+3041) to ゟ (U+309F), the voicing marks ゛ ゜ and ゝ ゞ among them.
constexpr bool IsHiragana(char32_t c) {
    return c >= 0x3041 && c <= 0x309F;
}

// ァ (U+30A1) to ヶ (U+30F6), and the long vowel mark ー (U+30FC).
constexpr bool IsKatakana(char32_t c) {
    return (c >= 0x30A1 && c <= 0x30F6) || c == 0x30FC;
}

// A kanji of the unified block U+4E00 to U+9FFF, every one code page 932 has there (々 is a
// repeat mark, not a kanji).
constexpr bool IsKanji(char32_t c) {
    return c >= 0x4E00 && c <= 0x9FFF;
}

// Whether utf8 holds a hiragana.
bool HasHiragana(std::string_view utf8);

// Whether utf8 is one katakana or more (ー included) and nothing else.
bool IsKatakanaWord(std::string_view utf8);

// Whether utf8 starts with a katakana (ー included).
bool StartsWithKatakana(std::string_view utf8);

// Whether utf8 is two kanji or more and nothing else.
bool IsKanjiCompound(std::string_view utf8);

// Whether utf8 is two characters or more (a byte that starts none counting as one) with a
// kanji among them.
bool HoldsKanjiRun(std::string_view utf8);

} // namespace yomi6
