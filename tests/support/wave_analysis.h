// Measurements on 8-bit unsigned mono samples (silence is 128) for checking recorded voices:
// where the sound starts and ends, and the fundamental frequency of its voiced part; and the
// same pitch track on 16-bit sound.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace yomi6::test {

// First and one past the last index whose distance from 128 exceeds threshold; nullopt when
// no sample does.
struct SoundRange {
    std::size_t begin = 0;
    std::size_t end = 0;
};
std::optional<SoundRange> SoundingRange(std::span<const unsigned char> samples, int threshold);

// The median fundamental frequency in Hz over the voiced frames of samples, estimated by
// normalized autocorrelation between 60 and 500 Hz; nullopt when no frame is clearly voiced
// (a whisper, a hiss or silence).
std::optional<double> EstimatePitch(std::span<const unsigned char> samples, int sampleRate);

// The fundamental frequency in Hz of each frame (40 ms, every 10 ms) of 16-bit samples, by the
// same estimate as EstimatePitch; 0 for a frame that is quiet or not clearly voiced.
std::vector<double> PitchTrack(std::span<const std::int16_t> samples, int sampleRate);

// The median of values (which must not be empty).
double Median(std::span<const double> values);

} // namespace yomi6::test
