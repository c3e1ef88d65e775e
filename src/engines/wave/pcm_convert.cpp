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

StreamResampler::StreamResampler(int rate, int outRate)
    : m_ratio(static_cast<double>(outRate) / static_cast<double>(rate)) {
    if (rate <= 0 || outRate <= 0) {
        return;
    }
    const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    soxr_error_t error = nullptr;
    m_soxr = soxr_create(rate, outRate, 1, &error, &io, &quality, nullptr);
    if (error != nullptr) {
        soxr_delete(m_soxr);
        m_soxr = nullptr;
    }
}

StreamResampler::~StreamResampler() {
    soxr_delete(m_soxr);
}

std::span<const std::int16_t> StreamResampler::Run(const float* in, std::size_t count) {
    m_pcm.clear();
    if (m_soxr == nullptr) {
        return m_pcm;
    }
    // Room for what the input completes; a flush (no input) is drained until it gives nothing.
    m_out.resize(static_cast<std::size_t>(std::ceil(static_cast<double>(count) * m_ratio)) + 256);
    std::size_t used = 0;
    while (true) {
        std::size_t taken = 0;
        std::size_t made = 0;
        const float* from = in == nullptr ? nullptr : in + used;
        if (soxr_process(m_soxr, from, count - used, &taken, m_out.data(), m_out.size(), &made) !=
            nullptr) {
            soxr_delete(m_soxr);
            m_soxr = nullptr;
            m_pcm.clear();
            return m_pcm;
        }
        if (taken == 0 && made == 0 && in != nullptr) {
            return m_pcm; // nothing more comes of this input
        }
        used += taken;
        const std::size_t at = m_pcm.size();
        m_pcm.resize(at + made);
        std::transform(m_out.begin(), m_out.begin() + static_cast<std::ptrdiff_t>(made),
                       m_pcm.begin() + static_cast<std::ptrdiff_t>(at), ToInt16);
        if (in != nullptr ? used >= count && made < m_out.size() : made == 0) {
            return m_pcm;
        }
    }
}

std::span<const std::int16_t> StreamResampler::Push(std::span<const float> mono) {
    if (mono.empty()) {
        m_pcm.clear();
        return m_pcm;
    }
    return Run(mono.data(), mono.size());
}

std::span<const std::int16_t> StreamResampler::Finish() {
    return Run(nullptr, 0);
}

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
    // As long as the sound, rounded up to a whole frame.
    const auto outFrames = static_cast<std::size_t>(
        std::ceil(static_cast<double>(mono.size()) * static_cast<double>(outRate) /
                  static_cast<double>(rate)));
    StreamResampler resampler(rate, outRate);
    const std::span<const std::int16_t> made = resampler.Push(mono);
    pcm.assign(made.begin(), made.end());
    const std::span<const std::int16_t> rest = resampler.Finish();
    pcm.insert(pcm.end(), rest.begin(), rest.end());
    if (resampler.Failed()) {
        pcm.clear();
    }
    pcm.resize(std::min(pcm.size(), outFrames));
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
