#include "playback/volume_fade.h"

#include <algorithm>

namespace yomi6 {

void VolumeFade::Begin(std::int64_t from, std::int64_t frames, std::int32_t floor) {
    m_from = from;
    m_until = kNever;
    m_frames = std::max<std::int64_t>(frames, 1);
    m_floor = std::clamp(floor, std::int32_t{0}, kFull);
}

void VolumeFade::End(std::int64_t at) {
    if (m_from != kNever) {
        m_until = std::min(m_until, std::max(at, m_from));
    }
}

std::int32_t VolumeFade::GainAt(std::int64_t f) const {
    if (!Lowers(f)) {
        return kFull;
    }
    const std::int64_t into = std::min(f - m_from, m_frames);
    return static_cast<std::int32_t>(kFull - (kFull - m_floor) * into / m_frames);
}

void VolumeFade::Apply(std::span<std::int16_t> frames, std::int64_t first) const {
    const std::int64_t last = first + static_cast<std::int64_t>(frames.size());
    if (last <= m_from || first >= m_until) {
        return;
    }
    for (std::int64_t f = std::max(first, m_from); f < std::min(last, m_until); ++f) {
        std::int16_t& frame = frames[static_cast<std::size_t>(f - first)];
        frame = static_cast<std::int16_t>(std::int32_t{frame} * GainAt(f) / kFull);
    }
}

} // namespace yomi6
