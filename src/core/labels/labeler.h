// Text to the full-context labels the voice reads: the analyzer's words with the accent of the
// Open JTalk dictionary (or UniDic's), numbers read by this program's rules, then the stages
// (pronunciation, accent by rule, accent phrases, accent types, devoicing) and the labels.
// LabelsOfWords takes the words from elsewhere too: a reading that gives its own words (the
// automatic reading's, with the user's dictionary and the ruby applied) gives them there, a
// word whose reading it changed marked accentKnown = false.
#pragma once

#include "analysis/analyzer.h"
#include "labels/accent_rules.h"
#include "labels/label_builder.h"
#include "labels/label_word.h"

#include <string>
#include <string_view>
#include <vector>

namespace yomi6::labels {

// The labels of words (in order, with their pronunciations) after every stage; morae, when
// given, receives the morae they say (BuildLabels).
std::vector<std::string> LabelsOfWords(std::vector<LabelWord> words, const AccentRules& rules,
                                       std::vector<LabelMora>* morae = nullptr);

class Labeler {
public:
    Labeler(Analyzer& analyzer, AccentRules rules) : m_analyzer(analyzer), m_rules(rules) {}

    // The words of one line of UTF-8 text, their source ranges in line, before the stages.
    // False when the analysis failed.
    bool Words(std::string_view line, std::vector<LabelWord>& words);
    // The labels of one line of text (see label_builder.h); none for a line that says nothing.
    bool Labels(std::string_view line, std::vector<std::string>& labels);

private:
    Analyzer& m_analyzer;
    AccentRules m_rules;
};

} // namespace yomi6::labels
