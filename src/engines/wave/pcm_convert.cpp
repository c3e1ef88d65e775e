#include "wave/pcm_convert.h"

#include <soxr.h>

#include <algorithm>
#include <cmath>

namespace yomi6 {

namespace {

std::int16_t ToInt16(float v) {
    const float scaled = std::round(v * 32767.0F);
    return static_cast<std::int16_t>(std::clamp(scaled, -32768.0F, 32767.0F));
}

} // namespace

std::vector<std::int16_t> ToPlayerPcm(std::span<const float> mono, int rate, int outRate) {
    std::vector<std::int16_t> pcm;
    if (mono.empty() || rate <= 0 || outRate <= 0) {
        return pcm;
    }
    if (rate == outRate) {
        pcm.resize(mono.size());
        std::transform(mono.begin(), mono.end(), pcm.begin(), ToInt16);
        return pcm;
    }
    const auto outFrames = static_cast<std::size_t>(
        std::ceil(static_cast<double>(mono.size()) * static_cast<double>(outRate) /
                  static_cast<double>(rate)));
    std::vector<float> resampled(outFrames);
    std::size_t done = 0;
    const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    const soxr_error_t error =
        soxr_oneshot(rate, outRate, 1, mono.data(), mono.size(), nullptr, resampled.data(),
                     resampled.size(), &done, &io, &quality, nullptr);
    if (error != nullptr) {
        return pcm;
    }
    pcm.resize(done);
    std::transform(resampled.begin(), resampled.begin() + static_cast<std::ptrdiff_t>(done),
                   pcm.begin(), ToInt16);
    return pcm;
}

std::vector<float> MixToMono(std::span<const std::int16_t> interleaved, int channels) {
    std::vector<float> mono;
    if (channels <= 0) {
        return mono;
    }
    const auto n = static_cast<std::size_t>(channels);
    mono.resize(interleaved.size() / n);
    for (std::size_t i = 0; i < mono.size(); ++i) {
        float sum = 0;
        for (std::size_t c = 0; c < n; ++c) {
            sum += static_cast<float>(interleaved[i * n + c]) / 32768.0F;
        }
        mono[i] = sum / static_cast<float>(channels);
    }
    return mono;
}

} // namespace yomi6
