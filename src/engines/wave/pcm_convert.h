// Bringing a decoded sound to the speech player's format: signed 16-bit mono at the output rate.
#pragma once

#include "wave/sample_pcm.h"

#include <cstdint>
#include <span>
#include <vector>

struct soxr;

namespace yomi6 {

// A sound resampled as it comes, block by block, with the band-limited resampler of ToPlayerPcm
// (the same frames as it gives the whole sound at once): each Push hands on the frames its
// input completes, Finish the rest. It holds only the resampler's own window.
class StreamResampler {
public:
    // From rate to outRate, both positive.
    StreamResampler(int rate, int outRate);
    ~StreamResampler();
    StreamResampler(const StreamResampler&) = delete;
    StreamResampler& operator=(const StreamResampler&) = delete;

    // The next frames of the sound (floats in [-1, 1]); the frames at outRate they complete,
    // rounded to 16 bits, valid until the next call.
    std::span<const std::int16_t> Push(std::span<const float> mono);
    // The frames still held, at the sound's end; valid until the next call.
    std::span<const std::int16_t> Finish();
    // Whether the resampler could not be made or failed (it then gives nothing more).
    bool Failed() const { return m_soxr == nullptr; }

private:
    std::span<const std::int16_t> Run(const float* in, std::size_t count);

    soxr* m_soxr = nullptr;
    double m_ratio;
    std::vector<float> m_out;
    std::vector<std::int16_t> m_pcm;
};

// mono (floats in [-1, 1]) at rate, resampled to outRate with a high-quality band-limited
// resampler and rounded to 16 bits, values past full scale clipped. Empty for an empty input
// or a rate that is not positive.
std::vector<std::int16_t> ToPlayerPcm(std::span<const float> mono, int rate,
                                      int outRate = kOutputSampleRate);

// 16-bit interleaved frames of channels channels mixed down to one channel, as floats.
std::vector<float> MixToMono(std::span<const std::int16_t> interleaved, int channels);

} // namespace yomi6
