#include "wave/sample_pcm.h"

namespace yomi6 {

namespace {

// An unsigned 8-bit sample (silence at 128) as a signed 16-bit one.
std::int32_t Widen(unsigned char byte) {
    return (static_cast<std::int32_t>(byte) - 128) * 256;
}

} // namespace

std::vector<std::int16_t> DecodeSamplePcm(const WaveInfo& wave, int outputRate) {
    std::vector<std::int16_t> pcm;
    if (wave.channels != 1 || wave.bitsPerSample != 8 || wave.sampleRate <= 0 || outputRate <= 0 ||
        wave.samples == nullptr || wave.sampleCount == 0) {
        return pcm;
    }
    const auto inRate = static_cast<std::uint64_t>(wave.sampleRate);
    const auto outRate = static_cast<std::uint64_t>(outputRate);
    const std::uint64_t count = wave.sampleCount;
    const std::uint64_t frames = (count * outRate + inRate - 1) / inRate;
    pcm.resize(static_cast<std::size_t>(frames));
    for (std::uint64_t j = 0; j < frames; ++j) {
        // Output frame j lies at input position j * inRate / outRate: between input samples i
        // and i + 1, at the fraction num / outRate of the way. The last sample is held.
        const std::uint64_t position = j * inRate;
        const std::uint64_t i = position / outRate;
        const auto num = static_cast<std::int64_t>(position % outRate);
        const std::int64_t a = Widen(wave.samples[i]);
        const std::int64_t b = i + 1 < count ? Widen(wave.samples[i + 1]) : a;
        const std::int64_t value = a + (b - a) * num / static_cast<std::int64_t>(outRate);
        pcm[static_cast<std::size_t>(j)] = static_cast<std::int16_t>(value);
    }
    return pcm;
}

} // namespace yomi6
