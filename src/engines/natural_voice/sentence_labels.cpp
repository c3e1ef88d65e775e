#include "natural_voice/sentence_labels.h"

#include "labels/dictionary_words.h"
#include "labels/labeler.h"
#include "labels/number_words.h"
#include "natural/engine_text.h"

#include <algorithm>

namespace yomi6::natural_voice {

namespace {

// The source bytes of the characters [first, last) of the engine text.
ByteRange SourcesOf(const natural::EngineText& text, std::size_t first, std::size_t last) {
    ByteRange span{};
    bool any = false;
    for (std::size_t k = first; k < last && k < text.sources.size(); ++k) {
        const ByteRange& r = text.sources[k];
        span = any ? ByteRange{std::min(span.begin, r.begin), std::max(span.end, r.end)} : r;
        any = true;
    }
    return span;
}

} // namespace

bool LabelPiece(std::string_view text, ByteRange piece, const ReadingSources& reading,
                Analyzer& accents, const labels::AccentRules& rules, SentenceLabels& out) {
    out = {};
    // The piece as the automatic reading says it: a word read otherwise than written is given
    // as that reading in katakana, the silent notation is left out; each character keeps its
    // source bytes.
    const natural::EngineText spoken = natural::BuildEngineText(
        text, piece, reading.dic, reading.analyzerFolder, reading.notation);
    if (spoken.utf8.empty()) {
        return true;
    }
    // The character of each byte of the engine text.
    std::vector<std::size_t> charOf(spoken.utf8.size() + 1, 0);
    std::size_t chars = 0;
    for (std::size_t i = 0; i < spoken.utf8.size(); ++i) {
        if ((static_cast<unsigned char>(spoken.utf8[i]) & 0xC0) != 0x80 && i > 0) {
            ++chars;
        }
        charOf[i] = chars;
    }
    charOf[spoken.utf8.size()] = spoken.folded.size();
    std::vector<AnalyzedWord> analyzed;
    if (!accents.Analyze(spoken.utf8, analyzed)) {
        return false;
    }
    std::vector<labels::LabelWord> words =
        labels::WordsFromAnalysis(spoken.utf8, analyzed, accents.Layout());
    if (rules.Has("numbers")) {
        labels::ReadNumbers(spoken.utf8, words);
    }
    for (labels::LabelWord& w : words) {
        const std::size_t first = charOf[std::min(w.sourceBegin, spoken.utf8.size())];
        const std::size_t last = w.sourceEnd >= spoken.utf8.size()
                                     ? spoken.folded.size()
                                     : std::max(charOf[w.sourceEnd], first + 1);
        // A word the reading gave (a user's word, a number, a ruby) is said as given, its
        // accent by rule.
        for (std::size_t k = first; k < last && k < spoken.fromReading.size(); ++k) {
            if (spoken.fromReading[k]) {
                w.accentKnown = false;
                break;
            }
        }
        const ByteRange source = SourcesOf(spoken, first, last);
        w.sourceBegin = source.begin;
        w.sourceEnd = source.end;
    }
    std::vector<labels::LabelMora> morae;
    out.labels = labels::LabelsOfWords(std::move(words), rules, &morae);
    for (labels::LabelMora& m : morae) {
        out.morae.push_back({std::move(m.kana), ByteRange{m.sourceBegin, m.sourceEnd}});
    }
    return true;
}

} // namespace yomi6::natural_voice
