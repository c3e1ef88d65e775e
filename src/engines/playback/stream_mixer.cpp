#include "playback/stream_mixer.h"

#include <algorithm>
#include <utility>

namespace yomi6 {

namespace {

constexpr std::int64_t kBlock = 4096;

} // namespace

StreamMixer::StreamMixer(Sink sink) : m_sink(std::move(sink)), m_handover(kRenderRate) {}

bool StreamMixer::RenderUntil(std::int64_t end) {
    while (m_written < end) {
        const std::int64_t n = std::min(end - m_written, kBlock);
        m_mix.resize(static_cast<std::size_t>(n));
        m_block.resize(static_cast<std::size_t>(n));
        m_handover.Render(m_mix.data(), m_written, m_written + n);
        std::transform(m_mix.begin(), m_mix.end(), m_block.begin(), NarrowFrame);
        if (!m_sink(m_block.data(), m_block.size())) {
            return false;
        }
        m_written += n;
    }
    return true;
}

bool StreamMixer::Place(std::span<const std::int16_t> placed, std::int64_t onset) {
    // Told ahead, the sounding sample fades out before the new onset, as in RenderPassWave.
    m_handover.CutAt(onset);
    if (!RenderUntil(onset)) {
        return false;
    }
    std::vector<std::int16_t>& frames = m_frames[m_next];
    m_next = (m_next + 1) % m_frames.size();
    frames.assign(placed.begin(), placed.end());
    m_handover.Start(frames, onset);
    return true;
}

bool StreamMixer::Finish(std::int64_t end) {
    return RenderUntil(std::max(end, m_handover.End()));
}

} // namespace yomi6
