// The accent of each phrase: the first word's accent, changed by each word that joins the
// phrase as that word's combination rule says (accentRule). The rules name the change:
//   F1 none (an ancillary word that takes the accent as it is);
//   F2 a flat phrase gets its nucleus on the word's first mora (+ the rule's @ offset);
//   F3 an accented phrase gets it there; F4 every phrase does; F5 the phrase becomes flat;
//   C1 the nucleus moves to the word's own nucleus; C2 to its first mora; C3 to the mora before
//   it; C4 the phrase becomes flat; C5 none;
//   P1 as C1, flat where the word is flat; P2 as C1, its first mora where the word is flat;
//   P6 flat; P14 as C1 where the word has a nucleus;
//   F23 (this program's own) as F2 in a flat phrase, as F3@0 in an accented one.
// A rule may hold alternatives by the word before: 名詞%F1/動詞%F2@0 (the first whose part of
// speech the word before's contains), or one without condition (C3). The phrase's accent is
// kept in its first word.
#pragma once

#include "labels/accent_rules.h"
#include "labels/label_word.h"

#include <string>
#include <string_view>
#include <vector>

namespace yomi6::labels {

// The rule (F2) and the @ offset that apply after a word of part of speech previousPos; "*"
// when none applies.
std::string RuleFor(std::string_view accentRule, std::string_view previousPos, int& offset);

void SetAccentTypes(std::vector<LabelWord>& words, const AccentRules& rules);

} // namespace yomi6::labels
