// Test WAVE files written by libsndfile, a writer independent of the program's own reader.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace yomi6::test {

// A sine of freq Hz at amplitude amp (of full scale) lasting seconds, the same in every channel,
// written to path as a WAVE file of the given libsndfile subtype (SF_FORMAT_PCM_16, ...);
// extensible selects the extensible header. Throws when libsndfile refuses.
void WriteSineWave(const std::string& path, int rate, int channels, int subtype, double seconds,
                   double freq = 440.0, double amp = 0.5, bool extensible = false);

// The frames of a sine as the program's 16-bit player frames would hold it.
std::vector<std::int16_t> Sine16(int rate, double seconds, double freq, double amp);

// Counts the sign changes of pcm: twice the frequency times the duration for a clean sine.
int ZeroCrossings(const std::vector<std::int16_t>& pcm);

} // namespace yomi6::test
