// The first stage: a pronunciation for every word. A word the dictionary gives none (no morae)
// is said as written when it is kana (a filler; kana of one mora each in a row join the first),
// is a question's end when it is ？, and a pause otherwise (a sign, an unknown word, 「 or 。).
// Then the sound changes across words: the auxiliary う after a verb or an auxiliary is the
// long vowel of the mora before (行こう イコー), and です and ます before ？ are said voiced.
#pragma once

#include "labels/label_word.h"

#include <vector>

namespace yomi6::labels {

void SetPronunciations(std::vector<LabelWord>& words);

// A sentence that ends in the particle か (ですか。, 行くのか。) is a question: a question's end
// (？) is put after the か where the text has none.
void AskAtFinalKa(std::vector<LabelWord>& words);

// 言う as spoken: its イウ said ユー (トユー, ユーノワ), the written イウ being a reading of the
// spelling; 言っ, 言い, 言わ are left as they are.
void SayIuAsYuu(std::vector<LabelWord>& words);

} // namespace yomi6::labels
