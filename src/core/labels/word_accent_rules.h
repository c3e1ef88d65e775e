// Own accent rules that give a word of a phrase its accent or its combination rule by the
// words around it, before the phrase's accent is combined (さ after an adjective's stem, も
// after 誰 and 何, らしい, あれば, 方 after a verb, たち after a pronoun, the prefixes お and
// ご), and one that sets a phrase's accent after (第 and a number). Each is named in
// accent_rules.cpp and applies where AccentRules has it.
#pragma once

#include "labels/accent_rules.h"
#include "labels/label_word.h"

#include <vector>

namespace yomi6::labels {

// The word rules that apply before the combination, each where rules has it. The combination
// rules they give (C3B, C1F) are accent_type_stage.cpp's.
void SetWordAccentRules(std::vector<LabelWord>& words, const AccentRules& rules);

// 第二次, 第一に: a phrase that starts with 第 and a number has its nucleus on 第 (ダ]イニジ).
// After the combination (accent_type_stage.cpp): the phrase's first word holds its accent.
void AccentOrdinalPrefixes(std::vector<LabelWord>& words);

} // namespace yomi6::labels
