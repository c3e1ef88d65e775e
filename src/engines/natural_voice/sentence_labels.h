// A piece of text as the natural voice says it in our own process: read by the automatic
// reading (the user's words, numbers, words read by their neighbours, Aozora notation and
// ruby, Latin letters and signs), the rest analysed with the accent dictionary, and turned into
// full-context labels with the morae they say and the source bytes of each.
#pragma once

#include "analysis/analyzer.h"
#include "analysis/analyzer_loader.h"
#include "aozora/aozora_notation.h"
#include "dictionary/dictionary_view.h"
#include "labels/accent_rules.h"
#include "labels/label_builder.h"
#include "natural/chunking.h"

#include <string>
#include <string_view>
#include <vector>

namespace yomi6::natural_voice {

using natural::ByteRange;

struct SpokenMora {
    std::string kana;   // full-width katakana, ー for a long vowel
    ByteRange source{}; // the source bytes of its word in the whole text
};

struct SentenceLabels {
    std::vector<std::string> labels; // none: the piece says nothing
    std::vector<SpokenMora> morae;   // one for each mora the labels say, in order
};

// Where the reading of a piece comes from: the automatic reading's analyzer (its owner's, set
// up with the run's folder), the user's words, the notation of the whole text when it is read as
// Aozora notation.
struct ReadingSources {
    const DictionaryView* dic = nullptr;
    AnalyzerLoader& reader;
    const AozoraNotation* notation = nullptr;
};

// The labels of source bytes piece of text (code page 932), its words analysed by accents (an
// analyzer over a dictionary with accents). False when the analysis failed.
bool LabelPiece(std::string_view text, ByteRange piece, const ReadingSources& reading,
                Analyzer& accents, const labels::AccentRules& rules, SentenceLabels& out);

} // namespace yomi6::natural_voice
