// This program's own accent phrase rules (accent_rules.h names them): where the classic rules
// split what is said as one phrase, or join what is said as two. Each rule also says how the
// word's accent combines with the phrase it joins, in place of its entry's rule (which the
// dictionary gives for the places where the classic rules join the word, not these).
#pragma once

#include "labels/accent_rules.h"
#include "labels/label_word.h"

#include <cstddef>
#include <vector>

namespace yomi6::labels {

// Applies the own rules to the word at i (words[i - 1] is the word before): sets chain and,
// where a rule says so, the word's accentRule. Nothing when no rule applies.
void ApplyOwnPhraseRules(std::vector<LabelWord>& words, std::size_t i, const AccentRules& rules,
                         int& chain);

} // namespace yomi6::labels
