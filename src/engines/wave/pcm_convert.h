// Bringing a decoded sound to the speech player's format: signed 16-bit mono at the output rate.
#pragma once

#include "wave/sample_pcm.h"

#include <cstdint>
#include <span>
#include <vector>

namespace yomi6 {

// mono (floats in [-1, 1]) at rate, resampled to outRate with a high-quality band-limited
// resampler and rounded to 16 bits, values past full scale clipped. Empty for an empty input
// or a rate that is not positive.
std::vector<std::int16_t> ToPlayerPcm(std::span<const float> mono, int rate,
                                      int outRate = kOutputSampleRate);

// 16-bit interleaved frames of channels channels mixed down to one channel, as floats.
std::vector<float> MixToMono(std::span<const std::int16_t> interleaved, int channels);

} // namespace yomi6
