// Accent phrases: which word joins the phrase of the word before (chain 1) and which starts one
// (chain 0). The dictionary decides where its entry says so; otherwise the rules decide, each in
// turn, a later one overruling an earlier. The base rules are the classic ones of Japanese
// speech synthesis by part of speech (a particle or an auxiliary joins the word before, an
// adverb stands alone, a noun after a verb starts a phrase ...); this program's own rules follow
// them (accent_rules.h).
#pragma once

#include "labels/accent_rules.h"
#include "labels/label_word.h"

#include <vector>

namespace yomi6::labels {

void SetAccentPhrases(std::vector<LabelWord>& words, const AccentRules& rules);

} // namespace yomi6::labels
