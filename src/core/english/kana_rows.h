// The katakana of English phonemes as loanwords write them: for each consonant the kana it
// makes with each vowel, alone, and before a y glide.
#pragma once

#include "english/english_lexicon.h"

#include <string_view>

namespace yomi6::english {

// The five vowels of the kana.
enum class KanaVowel : std::uint8_t { A, I, U, E, O };

struct KanaRow {
    std::string_view with[5]; // with each KanaVowel
    std::string_view bare;    // the consonant with no vowel after it (its kana's own vowel)
    std::string_view glided;  // the kana before a small ャュョ (y glide); "" when none
};

// The row of a consonant; the vowel row (ア イ ウ エ オ) for a vowel.
const KanaRow& RowOf(Phone consonant);
// The vowel row.
const KanaRow& VowelRow();
// The small ャ ュ ョ of a y glide before vowel v (A, U, O; "" for I and E).
std::string_view SmallGlide(KanaVowel v);

} // namespace yomi6::english
