#include "speech/stream_mixer.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace yomi6 {

namespace {

constexpr unsigned char kSilenceValue = 128;
constexpr std::size_t kSilenceBlock = 4096;

} // namespace

StreamMixer::StreamMixer(Sink sink) : m_sink(std::move(sink)) {}

bool StreamMixer::Silence(std::int64_t count) {
    static const std::array<unsigned char, kSilenceBlock> silence = [] {
        std::array<unsigned char, kSilenceBlock> block{};
        block.fill(kSilenceValue);
        return block;
    }();
    while (count > 0) {
        const auto n = static_cast<std::size_t>(std::min<std::int64_t>(count, kSilenceBlock));
        if (!m_sink(silence.data(), n)) {
            return false;
        }
        m_written += static_cast<std::int64_t>(n);
        count -= static_cast<std::int64_t>(n);
    }
    return true;
}

// Writes the pending sound, cut at upTo, then silence to upTo.
bool StreamMixer::Flush(std::int64_t upTo) {
    if (m_pending.sampleRate != 0) {
        const SampleSound sound = std::exchange(m_pending, SampleSound{});
        if (!Silence(m_pendingOnset - m_written)) {
            return false;
        }
        const std::int64_t length = std::min(RenderedLength(sound), upTo - m_pendingOnset);
        if (length > 0) {
            m_block.resize(static_cast<std::size_t>(length));
            Resample(sound, m_block.data(), length);
            if (!m_sink(m_block.data(), m_block.size())) {
                return false;
            }
            m_written += length;
        }
    }
    return Silence(upTo - m_written);
}

bool StreamMixer::Place(const SampleSound& sound, std::int64_t onset) {
    if (!Flush(onset)) {
        return false;
    }
    m_pending = sound;
    m_pendingOnset = onset;
    return true;
}

bool StreamMixer::Finish(std::int64_t end) {
    if (m_pending.sampleRate != 0) {
        end = std::max(end, m_pendingOnset + RenderedLength(m_pending));
    }
    return Flush(end);
}

} // namespace yomi6
