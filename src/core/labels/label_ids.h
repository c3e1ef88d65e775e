// The numbers the voice's labels give a word's part of speech, conjugation type and form (the
// B, C and D fields): the voice was trained on them. A part of speech, type or form the table
// does not hold is "xx".
#pragma once

#include "labels/label_word.h"

#include <string_view>

namespace yomi6::labels {

std::string_view PartOfSpeechId(const LabelWord& word);
std::string_view ConjugationTypeId(std::string_view conjugationType);
std::string_view ConjugationFormId(std::string_view conjugationForm);

} // namespace yomi6::labels
