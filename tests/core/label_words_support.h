// What the accent rules' tests share: a word as the dictionary gives it, and the accent phrases
// the stages make of words with some of the rules.
#pragma once

#include "labels/accent_phrase_stage.h"
#include "labels/accent_rules.h"
#include "labels/accent_type_stage.h"
#include "labels/mora_table.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace yomi6::labels::test {

inline LabelWord Word(std::string surface, std::string pos, std::string pos1, std::string pron,
                      int accent = 0, std::string rule = "*") {
    LabelWord w;
    w.surface = std::move(surface);
    w.pos = std::move(pos);
    w.pos1 = std::move(pos1);
    w.pronunciation = std::move(pron);
    w.moraCount = CountMorae(w.pronunciation);
    w.accent = accent;
    w.accentRule = std::move(rule);
    return w;
}

// A word with its base form (the surface when empty) and its conjugation form.
inline LabelWord W(const std::string& surface, std::string pos, std::string pos1, std::string pron,
                   int accent, std::string rule = "*", const std::string& base = "",
                   std::string form = "*") {
    LabelWord w =
        Word(surface, std::move(pos), std::move(pos1), std::move(pron), accent, std::move(rule));
    w.base = base.empty() ? surface : base;
    w.conjugationForm = std::move(form);
    return w;
}

using PhraseList = std::vector<std::pair<std::size_t, int>>;

// Each accent phrase as its first word's index and its accent, with the rules named.
inline PhraseList Phrases(std::vector<LabelWord> w, const char* rules) {
    AccentRules r;
    std::string error;
    EXPECT_TRUE(AccentRules::Parse(rules, r, error)) << error;
    SetAccentPhrases(w, r);
    SetAccentTypes(w, r);
    PhraseList out;
    for (std::size_t i = 0; i < w.size(); ++i) {
        if (i == 0 || w[i].chain != 1) {
            out.emplace_back(i, w[i].accent);
        }
    }
    return out;
}

} // namespace yomi6::labels::test
