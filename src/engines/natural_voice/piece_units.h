// The units of a piece said by the natural voice: its morae and pauses, each timed by the
// engine's state durations before the sound is made, and each mora with the source bytes of its
// word.
#pragma once

#include "natural_voice/sentence_labels.h"
#include "synthesis/phoneme_time.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace yomi6::natural_voice {

struct PieceUnit {
    std::string mora;            // katakana; empty for a pause or the silence around the piece
    ByteRange source{};          // a pause: the empty range where it falls
    std::int64_t startFrame = 0; // output frames from the start of the piece's sound
    std::int64_t endFrame = 0;
};

// The units of phonemes (the piece's times) saying morae (LabelPiece's, in order): a mora of
// the labels is each spoken mora, with its kana and source; a silence is a silent unit at the
// end of the mora before it, covering the pause sign there if one is (、 or 。, never a note),
// and the silence before the first mora covers nothing. piece is the piece's source in text
// (code page 932).
std::vector<PieceUnit> UnitsOfPiece(std::span<const synthesis::PhonemeTime> phonemes,
                                    std::span<const SpokenMora> morae, ByteRange piece,
                                    std::string_view text);

} // namespace yomi6::natural_voice
