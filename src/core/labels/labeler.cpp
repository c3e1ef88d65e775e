#include "labels/labeler.h"

#include "labels/accent_by_rule.h"
#include "labels/accent_phrase_stage.h"
#include "labels/accent_type_stage.h"
#include "labels/devoicing_stage.h"
#include "labels/dictionary_words.h"
#include "labels/label_builder.h"
#include "labels/label_text.h"
#include "labels/number_words.h"
#include "labels/pronunciation_stage.h"

namespace yomi6::labels {

std::vector<std::string> LabelsOfWords(std::vector<LabelWord> words, const AccentRules& rules,
                                       std::vector<LabelMora>* morae) {
    SetPronunciations(words);
    if (rules.Has("question-ka")) {
        AskAtFinalKa(words);
    }
    if (rules.Has("iu-yuu")) {
        SayIuAsYuu(words);
    }
    if (rules.Has("entry-accent")) {
        KeepEntryAccents(words);
    }
    SetRuleAccents(words);
    SetAccentPhrases(words, rules);
    SetAccentTypes(words, rules);
    SetDevoicing(words);
    return BuildLabels(words, morae);
}

bool Labeler::Words(std::string_view line, std::vector<LabelWord>& words) {
    const PreparedText text = PrepareText(line);
    std::vector<AnalyzedWord> analyzed;
    if (!m_analyzer.Analyze(text.utf8, analyzed)) {
        return false;
    }
    words = WordsFromAnalysis(text.utf8, analyzed, m_analyzer.Layout());
    if (m_rules.Has("numbers")) {
        ReadNumbers(text.utf8, words, m_rules.Has("counting-words"));
        if (m_rules.Has("number-groups")) {
            SplitNumberGroups(words);
        }
    }
    for (LabelWord& w : words) {
        w.sourceBegin = text.sourceOf[w.sourceBegin];
        w.sourceEnd = text.sourceOf[w.sourceEnd];
    }
    return true;
}

bool Labeler::Labels(std::string_view line, std::vector<std::string>& labels) {
    std::vector<LabelWord> words;
    if (!Words(line, words)) {
        return false;
    }
    labels = LabelsOfWords(std::move(words), m_rules);
    return true;
}

} // namespace yomi6::labels
