// Numbers as this program reads them: a numeral word (三, １) and the numerals, signs and the
// counter after it that reading/number_reading.h reads as one number (三百 サンビャク, １２本
// ジューニホン, ３．５ サンテンゴ) become one noun of that reading. Its accent is not the
// dictionary's (accent_by_rule.h gives one). The dictionary reads each digit alone (１２ イチ
// ニ), so this is where the labels and the voice's own front end part on purpose.
#pragma once

#include "labels/label_word.h"

#include <string_view>
#include <vector>

namespace yomi6::labels {

// words: analysed from utf8, their source ranges in utf8. A number whose reading ends inside a
// word is left as the dictionary reads it. With counting, a native word of counting (一人
// ヒトリ, 二十日 ハツカ) is one word with its own accent, not a number and a counter.
void ReadNumbers(std::string_view utf8, std::vector<LabelWord>& words, bool counting);

// A long number read by the rules above is said in groups, each a phrase of its own: 三百四十五
// サ]ンビャク ヨ]ンジュー ゴ, ２万９千 ニマ]ン キューセ]ン. A group ends after a place a digit
// counts (百 of 三百, not of 百十) or after 万, 億, 兆. The groups keep the number's source bytes.
void SplitNumberGroups(std::vector<LabelWord>& words);

} // namespace yomi6::labels
