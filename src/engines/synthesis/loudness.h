// The natural voice levelled to the loudness of the sample voices, for every client alike: a
// fixed gain for each style (as much as its speech is quieter than the samples), the gains of a
// blend weighted as its styles are, and a soft limit that bends the rare peaks the gain lifts
// towards full scale so that none reaches it.
#pragma once

#include "synthesis/hts_voice.h"

#include <array>
#include <span>

namespace yomi6::synthesis {

// The gain of each style in kVoiceStyles' order, in dB: the sample voice's RMS over twenty
// sentences (-15.8 dB of full scale, sox stats) less the style's own without a gain (neutral
// -16.5, happy -17.0, sad -19.0, angry -15.6), as tools/natural_loudness.py measures them.
inline constexpr std::array<double, kVoiceStyles.size()> kStyleGainDb{0.7, 1.2, 3.2, -0.2};

// The linear gain of a blend, weights in kVoiceStyles' order (summing to 1): its styles' gains
// in dB, weighted.
double BlendGain(std::span<const double> weights);

// Where the soft limit starts bending, of full scale (32767), and the highest it ever gives.
inline constexpr double kLimitKnee = 0.7;
inline constexpr double kLimitCeiling = 0.98;

// A sample in 16-bit units through the soft limit: unchanged up to the knee, above it bent
// smoothly (and monotonically) towards the ceiling, never past it.
double SoftLimit(double sample);

} // namespace yomi6::synthesis
