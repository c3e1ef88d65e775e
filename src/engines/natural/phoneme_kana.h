// The katakana of a mora as the engine's labels name its phonemes ("ky o" キョ, "N" ン, "cl" ッ),
// for a mora whose kana the text analysis does not give.
#pragma once

#include <string>
#include <string_view>

namespace yomi6::natural {

// The mora's katakana (UTF-8): its consonant or consonant cluster and its vowel, a devoiced
// vowel (upper case) as the voiced one. A consonant the table lacks is left out (the vowel's
// kana), so that the result is always katakana; "" only for phonemes that hold no vowel, "N" or
// "cl".
std::string PhonemeKana(std::string_view phonemes);

} // namespace yomi6::natural
