// A word of UniDic as a label word: its part of speech and conjugation named as IPADIC names
// them (the phrase rules and the voice's part-of-speech classes speak IPADIC), its accent from
// aType (the first value where several are given) and its combination rule from aConType (its
// alternatives, separated by commas in UniDic, as the rule notation's "/").
#pragma once

#include "analysis/analyzer.h"
#include "labels/label_word.h"

#include <string>
#include <string_view>
#include <vector>

namespace yomi6::labels {

LabelWord WordFromUniDic(std::string_view surface, const AnalyzedWord& analyzed,
                         const std::vector<std::string>& fields, const FeatureLayout& layout);

} // namespace yomi6::labels
