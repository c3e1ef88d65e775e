// A sentence laid out in the engine's frames: where each label's phoneme lies by the state
// durations, where the speech is, and which frames are made, once the silence around the speech
// is cut; and the labels as the engine is given them.
#pragma once

#include "synthesis/phoneme_time.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace yomi6::synthesis {

struct SentenceLayout {
    std::vector<std::int64_t> starts; // each label's first engine frame
    std::int64_t total = 0;           // frames of the whole sentence
    std::int64_t speechBegin = 0;     // the first frame of a phoneme that is not silence
    std::int64_t speechEnd = 0;       // one past the last one
    std::int64_t soundBegin = 0;      // the frames made: the speech and what silence is kept
    std::int64_t soundEnd = 0;
};

// labels' phonemes lasting frames each (the engine's state durations summed per label), the
// silence before the speech kept to maxLeadFrames and after it to maxTrailFrames (negative:
// kept whole). A sentence of silence alone is all speech.
SentenceLayout LayOut(std::span<const std::string> labels, std::span<const std::int64_t> frames,
                      std::int64_t maxLeadFrames, std::int64_t maxTrailFrames);

// Each label's phoneme and its time in output frames at outRate from the first frame made; a
// phoneme in the silence cut away lasts no frame. framePeriod: output frames per engine frame
// at voiceRate.
std::vector<PhonemeTime> PhonemeTimes(const SentenceLayout& layout,
                                      std::span<const std::string> labels, int framePeriod,
                                      int voiceRate, int outRate);

// A label as the engine is given it, without the times that may come before it; "" when it is
// not a full-context label (printable ASCII without blanks, starting with a letter, with its
// phoneme between '-' and '+'). The engine copies a label with times through a buffer of 1024
// bytes, and takes any line that starts like a number for one with times: it only ever sees a
// checked label without them, whatever its length.
std::string BareLabel(std::string_view line);

} // namespace yomi6::synthesis
