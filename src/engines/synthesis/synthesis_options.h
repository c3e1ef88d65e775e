// How one sentence is said: the controls of the natural voice beyond its words.
#pragma once

#include "natural/engine_setup.h"

#include <chrono>

namespace yomi6::synthesis {

// Neutral mixed with one other style: weight 0 is neutral alone, 1 the style alone, between
// the two a blend through the engine's interpolation weights (durations and parameters).
struct StyleBlend {
    natural::Style style = natural::Style::Neutral;
    double weight = 1.0;
};

inline constexpr double kMaxHalfTones = 12.0;
inline constexpr double kMaxIntonation = 2.0;
// A silence kept whole (SynthesisOptions::maxLeadingSilence, maxTrailingSilence).
inline constexpr std::chrono::milliseconds kKeepSilence{-1};

struct SynthesisOptions {
    // The engine's speaking rate, natural::RateForSpeed of the speed setting; kept within
    // natural::kMinRate to natural::kMaxRate.
    double rate = 1.0;
    // Pitch shift in half-tones, kept within ±kMaxHalfTones; added to the lowered variant's own.
    double halfTones = 0.0;
    // The generated log-F0 scaled around its mean over the voiced frames: 0 monotone, 1 as
    // generated, up to kMaxIntonation.
    double intonation = 1.0;
    StyleBlend style;
    // The lowered variant adds natural::kLoweredHalfTones and warps the spectrum with
    // natural::kLoweredAllPass.
    natural::Variant variant = natural::Variant::AsRecorded;
    // Output frames per second: 0 for the voice's own rate (48000 Hz for tohoku-f01). Another
    // rate (16000 Hz for an export that asks for it) is made by resampling the whole sentence,
    // which then comes as one block.
    int outputRate = 0;
    // The sound levelled to the sample voices' loudness (loudness.h: each style's gain, the
    // peaks bent below full scale); off, the engine's own sound, as the engine alone makes it.
    bool level = true;
    // The engine's silence before the speech (about half a second) and after it, cut to at most
    // these lengths; kKeepSilence keeps it whole. What is cut is never made, and the times count
    // from the first frame kept.
    std::chrono::milliseconds maxLeadingSilence = kKeepSilence;
    std::chrono::milliseconds maxTrailingSilence = kKeepSilence;
    // The sound is handed on in blocks, cut where they meet without a seam (block_plan.h): the
    // first once about firstBlock of speech is made (with the silence before it), the others
    // about every block. A zero block: the whole sentence at once.
    std::chrono::milliseconds firstBlock{150};
    std::chrono::milliseconds block{2000};
};

} // namespace yomi6::synthesis
