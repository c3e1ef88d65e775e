// What the recorder does to a take before it keeps it: cut the silence before and after the
// voice, and bring its loudness to the level of the built-in voices.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace yomi6 {

// The take without the quiet before and after the voice. The voice is where 10 ms windows
// stand clearly above the take's own noise floor; a short margin (15 ms) is kept on each side
// and the ends are faded over 5 ms so that the cut makes no click. A take in which nothing
// stands above the floor, or nothing louder than -50 dBFS, gives an empty result.
std::vector<std::int16_t> TrimSilence(std::span<const std::int16_t> pcm, int rate);

// The root mean square of the voiced part of pcm (its 10 ms windows within 30 dB of the
// loudest one), on the 16-bit scale; 0 for silence.
double VoicedRms(std::span<const std::int16_t> pcm, int rate);

// Scales pcm so that its voiced RMS becomes target, but never so far that a peak would pass
// 95 % of full scale. Returns the gain applied (1 for silence).
double LevelTo(std::vector<std::int16_t>& pcm, int rate, double target);

// The voiced RMS of the built-in voices at the player's rate: the median over their samples,
// the pause left out. Computed once.
double BuiltInVoiceLevel();

} // namespace yomi6
