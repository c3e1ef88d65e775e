// The morae of Japanese as the voice's phonemes: each katakana mora (a kana with the small
// kana that join it) and its consonant and vowel. One table serves the whole of labels/: the
// count of morae, the devoicing rules, the phonemes of the labels.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace yomi6::labels {

struct Mora {
    std::string_view kana;      // full-width katakana
    std::string_view consonant; // "" for a vowel alone, ン (N) and ッ (cl)
    std::string_view vowel;     // a i u e o, or N for ン and cl for ッ
};

// The mora at the start of text, katakana or hiragana (ぎゃ is ギャ): the longest kana that is
// one, its bytes in length; nullptr when text starts with none. ー is no mora of this table
// (it lengthens the mora before it).
const Mora* MoraAt(std::string_view text, std::size_t& length);

// The morae of kana text: each mora of the table and each ー; anything else (the marks ’ 、 ？,
// other characters) counts none.
int CountMorae(std::string_view text);

// Whether each mora of kana text (as CountMorae counts them) can carry an accent nucleus,
// appended to out: ン, ッ and ー cannot; nor, unless devoicedCarries, a mora marked said
// voiceless (’ after it).
void AppendNucleusCarriers(std::string_view text, bool devoicedCarries, std::vector<bool>& out);

} // namespace yomi6::labels
