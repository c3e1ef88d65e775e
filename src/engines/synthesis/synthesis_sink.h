// What a synthesis hands on as it goes: a sentence's times before its sound, then its sound in
// blocks, so that playing can start before the whole sentence is made.
#pragma once

#include "synthesis/phoneme_time.h"

#include <cstdint>
#include <span>
#include <string>

namespace yomi6::synthesis {

// How a synthesis ended.
struct SynthesisEnd {
    bool stopped = false; // the stop token asked for it: the blocks handed on so far are all
    std::string error;    // not empty: nothing more was said, and why (one line)
};

class SynthesisSink {
public:
    virtual ~SynthesisSink() = default;

    // The sentence's phonemes, in output frames at sampleRate, before any of its sound; the
    // last one ends where the sound will end.
    virtual void Timed(std::span<const PhonemeTime> phonemes, int sampleRate) = 0;
    // The next block of 16-bit mono sound, following the one before without a gap.
    virtual void Sound(std::span<const std::int16_t> block) = 0;
};

} // namespace yomi6::synthesis
