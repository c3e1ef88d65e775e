// An accent for a word the dictionary gave none for its reading (a number read by this
// program's rules, a word whose reading was changed, a word of a dictionary without accent).
// A noun or a word of unknown class takes the rule of loan and compound words: the nucleus on
// the third mora from the end, or on the first of a word of two morae, moved to the mora before
// while it falls on one that cannot carry it (ン, ッ, ー, a vowel said voiceless). Any other word
// is flat, as most verbs and adjectives of a phrase's middle are.
#pragma once

#include "labels/label_word.h"

#include <string_view>
#include <vector>

namespace yomi6::labels {

int AccentByRule(std::string_view pronunciation, std::string_view pos);

// A word read otherwise than its dictionary entry, with another count of morae: its nucleus as
// many morae from its end as the entry's (ニッポ]ン, ニホ]ン; タ] of 他, ホカ]), flat where the
// entry is. Its accent is then known.
void KeepEntryAccents(std::vector<LabelWord>& words);

// AccentByRule for every word whose accent is not known (its combination rule, where it has
// one, stays: it belongs to the kind of word more than to its reading).
void SetRuleAccents(std::vector<LabelWord>& words);

} // namespace yomi6::labels
