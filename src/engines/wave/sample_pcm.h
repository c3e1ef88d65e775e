// The voice samples as the sound output plays them: signed 16-bit mono at one rate for all.
#pragma once

#include "wave/wave_decoder.h"

#include <cstdint>
#include <vector>

namespace yomi6 {

// The rate every sample is brought to. The recordings are 8000 Hz and 11025 Hz; 44100 Hz is a
// whole multiple of the second and the rate sound servers run at by default, so that what is
// played reaches the device without a further conversion.
inline constexpr int kOutputSampleRate = 44100;

// The 8-bit unsigned samples of a parsed WAVE image as signed 16-bit values at outputRate,
// resampled by linear interpolation. The result lasts as long as the recording (its length is
// rounded up to a whole frame). An image that is not 8-bit mono, or a rate that is not
// positive, gives an empty result.
std::vector<std::int16_t> DecodeSamplePcm(const WaveInfo& wave, int outputRate = kOutputSampleRate);

} // namespace yomi6
