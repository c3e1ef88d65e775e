// Analysis around words whose reading is known already (a ruby's base): each such word stays
// one word, and the analyzer still sees the words around it in their sentence.
#pragma once

#include "analysis/analyzer.h"

namespace yomi6 {

// The words of utf8 with each of fixed one word (without a pronunciation), the pieces between
// them analysed each alone.
bool AnalyzePiecesBetween(Analyzer& analyzer, std::string_view utf8,
                          const std::vector<Utf8Span>& fixed, std::vector<AnalyzedWord>& words);

// analyzer.AnalyzeAround, checked: when an analyzer does not keep every fixed word whole, the
// pieces between them are analysed alone instead, so that a fixed word is always one word.
bool AnalyzeWithFixedWords(Analyzer& analyzer, std::string_view utf8,
                           const std::vector<Utf8Span>& fixed, std::vector<AnalyzedWord>& words);

} // namespace yomi6
