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
// word is left as the dictionary reads it.
void ReadNumbers(std::string_view utf8, std::vector<LabelWord>& words);

} // namespace yomi6::labels
