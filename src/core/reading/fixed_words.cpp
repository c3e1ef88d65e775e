#include "reading/fixed_words.h"

#include <algorithm>
#include <utility>

namespace yomi6 {

namespace {

bool KeepsWhole(const std::vector<Utf8Span>& fixed, const std::vector<AnalyzedWord>& words) {
    return std::all_of(fixed.begin(), fixed.end(), [&](const Utf8Span& f) {
        const bool whole = std::any_of(words.begin(), words.end(), [&](const AnalyzedWord& w) {
            return w.begin == f.begin && w.end == f.end;
        });
        const bool cut = std::any_of(words.begin(), words.end(), [&](const AnalyzedWord& w) {
            return w.begin < f.end && w.end > f.begin && (w.begin != f.begin || w.end != f.end);
        });
        return whole && !cut;
    });
}

} // namespace

bool Analyzer::AnalyzeAround(std::string_view utf8, const std::vector<Utf8Span>& fixed,
                             std::vector<AnalyzedWord>& words) {
    return AnalyzePiecesBetween(*this, utf8, fixed, words);
}

bool AnalyzePiecesBetween(Analyzer& analyzer, std::string_view utf8,
                          const std::vector<Utf8Span>& fixed, std::vector<AnalyzedWord>& words) {
    words.clear();
    std::vector<AnalyzedWord> piece;
    std::size_t at = 0;
    auto analyzePiece = [&](std::size_t end) {
        if (end <= at) {
            return true;
        }
        if (!analyzer.Analyze(utf8.substr(at, end - at), piece)) {
            return false;
        }
        for (AnalyzedWord w : piece) {
            w.begin += at;
            w.end += at;
            words.push_back(std::move(w));
        }
        return true;
    };
    for (const Utf8Span& f : fixed) {
        const std::size_t begin = std::min(f.begin, utf8.size());
        const std::size_t end = std::min(f.end, utf8.size());
        if (begin < at || end <= begin || !analyzePiece(begin)) {
            return false;
        }
        AnalyzedWord fixedWord;
        fixedWord.begin = begin;
        fixedWord.end = end;
        words.push_back(std::move(fixedWord));
        at = end;
    }
    return analyzePiece(utf8.size());
}

bool AnalyzeWithFixedWords(Analyzer& analyzer, std::string_view utf8,
                           const std::vector<Utf8Span>& fixed, std::vector<AnalyzedWord>& words) {
    if (fixed.empty()) {
        return analyzer.Analyze(utf8, words);
    }
    if (analyzer.AnalyzeAround(utf8, fixed, words) && KeepsWhole(fixed, words)) {
        return true;
    }
    return AnalyzePiecesBetween(analyzer, utf8, fixed, words);
}

} // namespace yomi6
