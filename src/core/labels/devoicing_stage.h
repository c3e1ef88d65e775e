// Vowels said voiceless: the i and u of a mora between voiceless consonants (キ in キカイ, ス in
// スキ), marked ’ after the mora in the pronunciation, unless the mora is the accent nucleus, a
// filler's, or the mora before it was just made voiceless (two in a row are not). The す of
// です and ます is voiceless before anything but a question's end or a long vowel; the し of a
// verb, an auxiliary or a particle takes the rule before the mora in front of it does. A mark
// the dictionary gave is kept.
#pragma once

#include "labels/label_word.h"

#include <vector>

namespace yomi6::labels {

void SetDevoicing(std::vector<LabelWord>& words);

} // namespace yomi6::labels
