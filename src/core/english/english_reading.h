// Which Latin words the automatic reading says as English, and how: a word the pronouncing
// dictionary knows, in katakana, the usual weak form for the commonest function words (the ザ,
// a ア, of オブ); an acronym (all capitals, at most five letters: NHK, CPU), an abbreviation the
// dictionary says in full (etc, ms) or a word it does not know is left to be spelled.
#pragma once

#include "english/english_lexicon.h"

#include <string>
#include <string_view>

namespace yomi6::english {

// The longest all-capital word spelled as an acronym.
inline constexpr std::size_t kMaxAcronymLetters = 5;

// The katakana (UTF-8) of word (ASCII letters), or "" when it is to be spelled.
std::string EnglishKatakana(std::string_view word, EnglishLexicon& lexicon);

} // namespace yomi6::english
