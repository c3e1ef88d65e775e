// The analyzer's words as label words: part of speech, conjugation, pronunciation and accent
// from the dictionary's entry. The Open JTalk dictionary gives the accent as nucleus/morae
// ("1/2"), its combination rule ("C3", "名詞%F1") and sometimes a chain flag; an entry that
// joins several words ("1/2:0/3", its readings joined by ":") becomes those words. UniDic gives
// aType ("0", "1,0"), aConType ("C1", "名詞%F1,動詞%F2@0"); its parts of speech are named as
// IPADIC names them, which the phrase rules speak of. A dictionary without accent gives none: the
// rules of accent_by_rule.h supply one.
#pragma once

#include "analysis/analyzer.h"
#include "labels/label_word.h"

#include <string_view>
#include <vector>

namespace yomi6::labels {

// The label words of words (analysed from utf8, in order), each with its source range in utf8.
// The pronunciation is the analyzer's (the reading's own corrections kept); where it is the
// entry's, the entry's marks (devoiced morae, the parts of a compound) are kept too.
std::vector<LabelWord> WordsFromAnalysis(std::string_view utf8,
                                         const std::vector<AnalyzedWord>& words,
                                         const FeatureLayout& layout);

} // namespace yomi6::labels
