// Where the accent nucleus of a phrase may fall: never on a mora that cannot carry it (ン, ッ,
// the second half of a long vowel). A combination rule that puts it on
// one (少年 + たち C3: ショーネン]タチ) leaves it, as said, on the mora before (ショーネ]ンタチ).
#pragma once

#include "labels/label_word.h"

#include <vector>

namespace yomi6::labels {

// Moves each phrase's nucleus (kept in its first word, see accent_type_stage.h) off such a
// mora to the nearest mora before it that carries it.
void MoveNucleusOffSpecialMorae(std::vector<LabelWord>& words);

// Moves a phrase's nucleus that falls on the イ of ない to its ナ (いけないから イケナ]イカラ, not
// イケナイ]カラ).
void MoveNucleusOffNaiEnd(std::vector<LabelWord>& words);

} // namespace yomi6::labels
