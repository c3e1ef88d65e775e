// English phonemes in katakana, as the loanword convention writes them (ニューヨーク,
// コンピューター, ストリート, ウォーター, シンプル, ベスト): consonants with the vowel after them,
// a vowel of their own where none follows (ト, ド, チ, ジ after t, d, ch, jh; ウ after the others;
// ン for n), r after a vowel as a long vowel, ッ after a short vowel before a final stop. The
// spelling tells what the phonemes cannot: the vowel an unstressed ax is written with (コン,
// ション, システム), o said as aa (ホット), the y of ew and u (ニュー).
#pragma once

#include "english/english_lexicon.h"

#include <string>
#include <string_view>
#include <vector>

namespace yomi6::english {

// The katakana (UTF-8) of a word spelled spelling (ASCII letters) and said sounds.
std::string KatakanaOf(std::string_view spelling, const std::vector<Sound>& sounds);

} // namespace yomi6::english
