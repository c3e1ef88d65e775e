// How a suffix combines with the noun before it, where the dictionary's rule is not how it is
// said: a suffix that makes the compound flat (専門家 センモンカ, 英語 エーゴ, 帰宅後 キタクゴ) and
// one that puts the nucleus on the noun's last mora (研究者 ケンキュ]ーシャ, 説得力
// セットク]リョク).
#pragma once

#include "labels/label_word.h"

#include <vector>

namespace yomi6::labels {

// Gives each suffix of the table that follows a noun the table's combination rule.
void SetSuffixRules(std::vector<LabelWord>& words);

// Gives each counter of its table that follows a number the rule of a flat compound.
void SetFlatCounterRules(std::vector<LabelWord>& words);

} // namespace yomi6::labels
