// The engine's morphemes mapped back onto the source bytes of the text it was given, and the
// morae of its labels onto the morphemes, so that every mora carries the source bytes it was
// read from.
#pragma once

#include "natural/engine_text.h"
#include "natural/trace_parser.h"

#include <vector>

namespace yomi6::natural {

// Where a morpheme was found in the engine's text.
struct PlacedMorpheme {
    ByteRange range; // its source bytes
    // The source bytes of each of its morae, when its surface is katakana written from the
    // automatic reading whose characters came from more than one place and spell as many morae
    // as the engine says (the letters of a spelled Latin word that the engine took as one word);
    // else empty, and every mora takes range (a word's morae all show the word).
    std::vector<ByteRange> morae;
};

// The source bytes of each morpheme. A surface is found in the engine text at or a little
// after where the last one ended (the engine drops signs and blanks it does not say), compared
// in folded form. Number words the engine made of digits (二 千 二 十 六 for 2026, 千 for
// 1,000) all take the run of digits, commas and points they stand for. A morpheme that cannot
// be placed takes the bytes between its placed neighbours (empty where they touch). Ranges
// never go backwards and stay inside the chunk.
std::vector<PlacedMorpheme> PlaceMorphemes(const EngineText& text,
                                           const std::vector<Morpheme>& morphemes, ByteRange chunk);

struct AlignedMora {
    // The mora in katakana (UTF-8), from the text analysis's pronunciation, else from the
    // label's phonemes (PhonemeKana); "" for a pause or silence.
    std::string kana;
    ByteRange source;       // the source bytes it was read from
    std::int64_t start = 0; // 100 ns units from the start of the chunk's sound
    std::int64_t end = 0;
    bool silent = false;
};

// The labels' morae with their morphemes' source bytes: spoken morae go to the morphemes in
// order by each one's mora count (each on its own bytes where the morpheme has them); a pause takes
// the signs the engine said it for (the morphemes without morae between the spoken ones around it),
// else an empty range where the mora before it ended. Morae beyond the text analysis's count keep
// the last morpheme's range.
std::vector<AlignedMora> AlignMorae(const Trace& trace, const std::vector<PlacedMorpheme>& placed,
                                    ByteRange chunk);

} // namespace yomi6::natural
