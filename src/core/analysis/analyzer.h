// A morphological analyzer as the automatic reading uses it: text in, words with their spoken
// form out. The reading itself never sees which analyzer it is.
#pragma once

#include "analysis/feature_layout.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace yomi6 {

// One word of an analysed text.
struct AnalyzedWord {
    std::size_t begin = 0; // UTF-8 byte offsets of the word in the analysed text
    std::size_t end = 0;
    std::string pronunciation; // full-width katakana (UTF-8) as spoken; empty: not known
    bool isNumeral = false;    // the analyzer tags the word as a number
    // The word's class as the dictionary names it (名詞 動詞 助詞 …), its subclass (一般, 接尾,
    // 普通名詞 …) and, for a word that inflects, its form (連用形, 基本形, 連体形-一般 …); empty
    // where the dictionary gives none.
    std::string partOfSpeech;
    std::string subdivision;
    std::string conjugation;
    // The pronunciation is the one the words beside it give (analysis/word_context.h), not the
    // dictionary's own.
    bool byContext = false;
    // Every field of the dictionary's entry, as the dictionary writes them (the analyzer's
    // Layout() says where each sits); empty where the analyzer has none.
    std::string feature;
};

// UTF-8 bytes [begin, end) of an analysed text.
struct Utf8Span {
    std::size_t begin = 0;
    std::size_t end = 0;
};

class Analyzer {
public:
    virtual ~Analyzer() = default;
    // The words of utf8 (well-formed UTF-8 without NUL) in order, replacing words. Words may
    // leave gaps (blanks the analyzer skips) but never overlap. False when the analysis failed.
    virtual bool Analyze(std::string_view utf8, std::vector<AnalyzedWord>& words) = 0;
    // As Analyze, with each of fixed (in order, never overlapping, on character boundaries)
    // one word, a noun whose pronunciation the caller knows, and the words around it analysed
    // in its context. This default analyses the pieces between the fixed words each alone.
    virtual bool AnalyzeAround(std::string_view utf8, const std::vector<Utf8Span>& fixed,
                               std::vector<AnalyzedWord>& words);
    // Where the fields of AnalyzedWord::feature sit. This default is IPADIC's, without accent.
    virtual FeatureLayout Layout() const { return {}; }
};

} // namespace yomi6
