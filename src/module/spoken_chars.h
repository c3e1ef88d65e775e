// Characters said by name: a CHAR message, a message spelled (spelling mode) and the
// punctuation marks the punctuation mode says. The names of the marks are one table, each mark
// with the least mode that says it (the sound server's usual levels).
#pragma once

#include <string>
#include <string_view>

namespace yomi6 {
class Analyzer;
}

namespace yomi6::module {

// The punctuation modes, fewest marks said first.
enum class PunctuationMode { None, Some, Most, All };

// The mode of a SET punctuation_mode value ("none", "some", "most", "all"); Some for another.
PunctuationMode PunctuationModeOf(std::string_view value);

// What one character (UTF-8) is said as: a kanji by its reading as a word where analyzer (may
// be null) gives one, a punctuation mark by its name, kana, Latin letters and digits as
// themselves, a blank as "スペース"; any other character by what kind it is, never by a code.
std::string CharName(std::string_view character, Analyzer* analyzer);

// text spelled: each character said as CharName says it, one after another with a pause.
std::string SpelledText(std::string_view text, Analyzer* analyzer);

// text with each punctuation mark that mode says replaced by its name (a mark that ends a
// phrase kept after it, for the pause); a point or comma between digits is part of the number.
std::string NamedPunctuation(std::string_view text, PunctuationMode mode);

} // namespace yomi6::module
