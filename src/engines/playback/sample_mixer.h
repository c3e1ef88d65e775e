// The stream the sound output pulls: one continuous run of 16-bit mono frames into which each
// sample is placed at the frame that matches the moment it was asked for, plus a fixed latency.
// A new sample takes over from the one still sounding as SampleHandover lays down.
// No Qt here, and no clock of its own: the callers pass the moments, so that the placement is
// exact whatever size of chunks the output pulls and whenever it pulls them.
#pragma once

#include "playback/sample_handover.h"
#include "playback/volume_fade.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>

namespace yomi6 {

class SampleMixer {
public:
    using Clock = std::chrono::steady_clock;
    using Pcm = std::span<const std::int16_t>;

    // How far ahead of the stream's clock the output may pull before the frames it has taken
    // are known to have been heard; a sample asked for at moment t is placed at t + latency.
    SampleMixer(int sampleRate, Clock::duration latency);

    // Any thread. Asks for pcm to sound from the stream position of at + latency on; it cuts
    // the sample that sounds there (which fades out under the new one's start). A request that
    // arrives too late for its position sounds from the first frame not yet pulled. The frames are
    // not copied: they must stay valid as long as the mixer may play them (they are the decoded
    // samples, held for the whole run).
    void Schedule(Pcm pcm, Clock::time_point at);

    // Any thread. Ends the sound from the stream position of at + latency on (from the first
    // frame not yet pulled, when that position has gone): every request not placed yet is
    // dropped, and what sounds there fades out. A long sound (a sentence of the natural voice)
    // is stopped or paused so; samples asked for afterwards sound as usual.
    void Silence(Clock::time_point at);

    // Any thread. Lowers the volume from the stream position of at + latency on (from the first
    // frame not yet pulled, when that position has gone) over length, down to floor (in
    // 1/32768, VolumeFade), and holds it there until the position of the next Silence, EndFade
    // or Restart. Nothing when no stream is running or a fade is under way already.
    void FadeOut(Clock::time_point at, Clock::duration length, std::int32_t floor);
    // Any thread. The volume is full again from the first frame not yet pulled.
    void EndFade();

    // The output's thread. Fills out with the next frames of the stream; now is the moment of
    // the pull. The first pull after construction or Restart() ties the stream to the clock.
    void Render(std::span<std::int16_t> out, Clock::time_point now);

    // The output stopped: forget the stream and the requests; the next Render starts anew.
    void Restart();

    // The output has just begun to play the frames rendered so far (it may hold them for a
    // while before it starts): frame 0 is heard from now on.
    void Retime(Clock::time_point now);

    // The moment the last requested sample ends on the stream's clock, or nothing when no
    // stream is running (nothing will be heard, so there is nothing to wait for).
    std::optional<Clock::time_point> SoundEnd() const;

    // Any thread. The earliest moment a request can be asked for and still be placed at its
    // own frame: the first frame the output has not pulled yet, margin later, less the latency.
    // A sound that is ready (a sentence of the natural voice) asked for then is heard as soon
    // as the output can play it, without the margin a tick keeps for being delivered late.
    // Nothing when no stream is running.
    std::optional<Clock::time_point> EarliestOnTime(Clock::duration margin) const;

    void SetLatency(Clock::duration latency);
    // Any thread. A sample asked for at t starts sounding at t + Latency().
    Clock::duration Latency() const;

    // What the placement had to give way to, for measurements and tests.
    struct Stats {
        std::int64_t lateRequests = 0;     // placed after their position: pulled already
        std::int64_t clockCorrections = 0; // steps of the stream's clock (see TrackPullAhead)
        std::int64_t pullAheadMax = 0;     // largest lead of the pulled frames, in frames
        std::int64_t fades = 0;            // fades begun (FadeOut)
    };
    Stats stats() const;

private:
    struct Request {
        Pcm pcm;
        Clock::time_point at;
    };
    static constexpr std::size_t kQueueSize = 64;

    std::int64_t FramesFor(Clock::duration d) const;
    Clock::duration DurationOf(std::int64_t frames) const;
    std::int64_t TargetFrame(Clock::time_point at) const;
    // Ties frame 0 of the stream to the moment now and starts watching its lead afresh.
    void TieClock(Clock::time_point now);
    // Watches how far the pulled frames lead the clock and steps the clock when the output
    // has slipped against it.
    void TrackPullAhead(Clock::time_point now);

    const int m_rate;
    Clock::duration m_latency;
    mutable std::mutex m_mutex;

    // Requests not yet placed, oldest first, in a ring.
    std::array<Request, kQueueSize> m_queue{};
    std::size_t m_head = 0;
    std::size_t m_count = 0;

    // The stream: frame f is due at m_origin + f / rate.
    bool m_running = false;
    Clock::time_point m_origin{};
    std::int64_t m_framesOut = 0; // frames pulled so far

    // The samples placed so far: the one sounding at m_framesOut, and the one it cut.
    SampleHandover m_handover;
    VolumeFade m_fade;

    // Lead of the pulled frames over the clock, watched per window (see TrackPullAhead).
    Clock::time_point m_windowStart{};
    std::int64_t m_windowMax = 0;
    std::optional<std::int64_t> m_referenceLead;
    std::int64_t m_lastSlip = 0; // the previous window's distance from the reference

    Stats m_stats;
};

} // namespace yomi6
