#include "playback/sample_mixer.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace yomi6 {

namespace {

using namespace std::chrono_literals;

// The lead of the pulled frames over the clock is watched in windows of this length. Its
// largest value in a window is how full the output's buffer is kept: it stays put while the
// output plays at the clock's pace. When it moves and stays moved, the output's position has
// slipped against the clock (it ran dry for a moment and played silence, or its crystal runs
// at another pace), and the stream's clock steps by the same amount so that what is requested
// afterwards is heard on the clock again.
constexpr auto kWindow = 2s;
constexpr auto kSmallestStep = 4ms;
constexpr std::int64_t kNoLead = std::numeric_limits<std::int64_t>::min();

} // namespace

SampleMixer::SampleMixer(int sampleRate, Clock::duration latency)
    : m_rate(sampleRate), m_latency(latency), m_handover(sampleRate) {}

std::int64_t SampleMixer::FramesFor(Clock::duration d) const {
    // Whole seconds and the rest apart, so that a run of weeks cannot overflow.
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(d).count();
    constexpr std::int64_t kNsPerSecond = 1'000'000'000;
    const std::int64_t seconds = ns / kNsPerSecond;
    const std::int64_t rest = ns % kNsPerSecond;
    return seconds * m_rate + rest * m_rate / kNsPerSecond;
}

SampleMixer::Clock::duration SampleMixer::DurationOf(std::int64_t frames) const {
    const std::int64_t seconds = frames / m_rate;
    const std::int64_t rest = frames % m_rate;
    return std::chrono::duration_cast<Clock::duration>(
        std::chrono::seconds(seconds) + std::chrono::nanoseconds(rest * 1'000'000'000 / m_rate));
}

std::int64_t SampleMixer::TargetFrame(Clock::time_point at) const {
    return FramesFor(at + m_latency - m_origin);
}

void SampleMixer::SetLatency(Clock::duration latency) {
    const std::lock_guard lock(m_mutex);
    m_latency = latency;
}

SampleMixer::Clock::duration SampleMixer::Latency() const {
    const std::lock_guard lock(m_mutex);
    return m_latency;
}

void SampleMixer::Schedule(Pcm pcm, Clock::time_point at) {
    const std::lock_guard lock(m_mutex);
    if (m_count == kQueueSize) {
        // Only a stream that stopped pulling lets requests pile up; the oldest would be cut
        // by the newer ones anyway.
        m_head = (m_head + 1) % kQueueSize;
        --m_count;
    }
    m_queue[(m_head + m_count) % kQueueSize] = Request{pcm, at};
    ++m_count;
}

void SampleMixer::Silence(Clock::time_point at) {
    const std::lock_guard lock(m_mutex);
    // An empty sound takes over from the one sounding, as any new sample does.
    m_head = 0;
    m_count = 1;
    m_queue[0] = Request{Pcm(), at};
    if (m_running) {
        m_fade.End(std::max(TargetFrame(at), m_framesOut));
    }
}

void SampleMixer::FadeOut(Clock::time_point at, Clock::duration length, std::int32_t floor) {
    const std::lock_guard lock(m_mutex);
    if (m_running && !m_fade.UnderWay()) {
        m_fade.Begin(std::max(TargetFrame(at), m_framesOut), FramesFor(length), floor);
        ++m_stats.fades;
    }
}

void SampleMixer::EndFade() {
    const std::lock_guard lock(m_mutex);
    m_fade.End(m_framesOut);
}

void SampleMixer::TieClock(Clock::time_point now) {
    m_origin = now;
    m_windowStart = now;
    m_windowMax = kNoLead;
    m_referenceLead.reset();
    m_lastSlip = 0;
}

void SampleMixer::Render(std::span<std::int16_t> out, Clock::time_point now) {
    const std::lock_guard lock(m_mutex);
    if (!m_running) {
        m_running = true;
        m_framesOut = 0;
        TieClock(now);
    }
    const std::int64_t first = m_framesOut;
    const std::int64_t last = first + static_cast<std::int64_t>(out.size());
    std::int64_t pos = first;
    while (m_count > 0) {
        // The next request starts at its frame, or at once when that frame has gone already.
        // The sample it cuts fades out before that frame, when it is still to come.
        const std::int64_t target = TargetFrame(m_queue[m_head].at);
        if (target - m_handover.fadeFrames() < last) {
            m_handover.CutAt(std::max(target, pos));
        }
        if (target >= last) {
            break;
        }
        if (target < pos) {
            ++m_stats.lateRequests;
        }
        const std::int64_t start = std::max(target, pos);
        m_handover.Render(out.data() + (pos - first), pos, start);
        pos = start;
        m_handover.Start(m_queue[m_head].pcm, start);
        m_head = (m_head + 1) % kQueueSize;
        --m_count;
    }
    m_handover.Render(out.data() + (pos - first), pos, last);
    m_fade.Apply(out, first);
    m_framesOut = last;
    TrackPullAhead(now);
}

void SampleMixer::TrackPullAhead(Clock::time_point now) {
    const std::int64_t lead = m_framesOut - FramesFor(now - m_origin);
    m_stats.pullAheadMax = std::max(m_stats.pullAheadMax, lead);
    m_windowMax = std::max(m_windowMax, lead);
    if (now - m_windowStart < kWindow) {
        return;
    }
    if (!m_referenceLead) {
        m_referenceLead = m_windowMax;
    } else {
        // A step is taken only when two windows in a row agree on its direction, so that a
        // spell of late pulls under load (which the next window makes up) moves nothing.
        const std::int64_t slip = *m_referenceLead - m_windowMax;
        const std::int64_t smallest = FramesFor(kSmallestStep);
        if (std::abs(slip) >= smallest && std::abs(m_lastSlip) >= smallest &&
            (slip > 0) == (m_lastSlip > 0)) {
            const std::int64_t step =
                slip > 0 ? std::min(slip, m_lastSlip) : std::max(slip, m_lastSlip);
            m_origin += DurationOf(step);
            ++m_stats.clockCorrections;
            m_lastSlip = 0;
        } else {
            m_lastSlip = slip;
        }
    }
    m_windowStart = now;
    m_windowMax = kNoLead;
}

void SampleMixer::Restart() {
    const std::lock_guard lock(m_mutex);
    m_running = false;
    m_framesOut = 0;
    m_count = 0;
    m_handover.Clear();
    m_fade.Clear();
}

void SampleMixer::Retime(Clock::time_point now) {
    const std::lock_guard lock(m_mutex);
    TieClock(now);
}

std::optional<SampleMixer::Clock::time_point> SampleMixer::SoundEnd() const {
    const std::lock_guard lock(m_mutex);
    if (!m_running) {
        return std::nullopt;
    }
    std::int64_t end = m_handover.End();
    if (m_count > 0) {
        const Request& newest = m_queue[(m_head + m_count - 1) % kQueueSize];
        end = std::max(TargetFrame(newest.at), m_framesOut) +
              static_cast<std::int64_t>(newest.pcm.size());
    }
    return m_origin + DurationOf(end);
}

std::optional<SampleMixer::Clock::time_point>
SampleMixer::EarliestOnTime(Clock::duration margin) const {
    const std::lock_guard lock(m_mutex);
    if (!m_running) {
        return std::nullopt;
    }
    return m_origin + DurationOf(m_framesOut) + margin - m_latency;
}

SampleMixer::Stats SampleMixer::stats() const {
    const std::lock_guard lock(m_mutex);
    return m_stats;
}

} // namespace yomi6
