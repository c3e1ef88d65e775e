#include "playback/sample_handover.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace yomi6 {

namespace {

constexpr std::int32_t kUnity = 32768;

} // namespace

SampleHandover::SampleHandover(int sampleRate) {
    const auto frames =
        std::max<std::int64_t>(2, std::int64_t{sampleRate} * kCutFadeMicroseconds / 1'000'000);
    // Half a cosine from full level to silence: no step at either end of the fade, and no
    // bend sharp enough to be heard as one. The table is whole numbers, so that every caller
    // gets the same frames from the same samples.
    m_gain.resize(static_cast<std::size_t>(frames));
    for (std::int64_t i = 0; i < frames; ++i) {
        const double x = static_cast<double>(i + 1) / static_cast<double>(frames + 1);
        m_gain[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(
            std::lround(kUnity * 0.5 * (1 + std::cos(std::numbers::pi * x))));
    }
}

std::int32_t SampleHandover::Gain(std::int64_t i, std::int64_t n) const {
    // A fade shortened to n frames walks the table in bigger steps.
    return m_gain[static_cast<std::size_t>(i * fadeFrames() / n)];
}

void SampleHandover::CutAt(std::int64_t at) {
    if (at == m_cutAt) {
        return;
    }
    const std::int64_t begin = std::max(at - fadeFrames(), m_rendered);
    if (at - begin < fadeFrames() / 2) {
        return; // too late to fade ahead: Start() fades the sample under the next one
    }
    m_cutAt = at;
    m_fadeBegin = begin;
}

void SampleHandover::Start(Pcm pcm, std::int64_t start) {
    const bool fadedAhead = m_cutAt <= start;
    if (!fadedAhead && m_current.end() > start) {
        // Cut without notice: the sounding sample fades out under the new one. A sample
        // still fading from an earlier such cut gives way to it at once.
        m_fading = m_current;
        m_fadeStart = start;
    } else if (m_fadeStart + fadeFrames() <= start) {
        m_fading = {};
    }
    m_current = Placed{pcm, start};
    m_cutAt = kNever;
    m_fadeBegin = kNever;
}

void SampleHandover::Render(std::int16_t* out, std::int64_t from, std::int64_t to) {
    const std::int64_t fadeEnd = m_fadeStart + fadeFrames();
    for (std::int64_t t = from; t < to; ++t) {
        std::int32_t value = 0;
        if (t < m_fadeBegin) {
            value = m_current.at(t);
        } else if (t < m_cutAt) {
            value = m_current.at(t) * Gain(t - m_fadeBegin, m_cutAt - m_fadeBegin) / kUnity;
        }
        if (t < fadeEnd) {
            value += m_fading.at(t) * m_gain[static_cast<std::size_t>(t - m_fadeStart)] / kUnity;
        }
        out[t - from] = static_cast<std::int16_t>(std::clamp(value, -32768, 32767));
    }
    m_rendered = std::max(m_rendered, to);
}

std::int64_t SampleHandover::End() const {
    const std::int64_t fadeEnd = std::min(m_fading.end(), m_fadeStart + fadeFrames());
    return std::max(std::min(m_current.end(), m_cutAt), fadeEnd);
}

void SampleHandover::Clear() {
    m_current = {};
    m_cutAt = kNever;
    m_fadeBegin = kNever;
    m_fading = {};
    m_fadeStart = 0;
    m_rendered = 0;
}

} // namespace yomi6
