// The mixer's placement of samples in the output stream, driven by a simulated output: frames
// land exactly where the moment of the request puts them, whatever the size and timing of the
// output's pulls; late requests, cuts, silence, and the stepping of the stream's clock.
#include "playback/sample_mixer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <random>
#include <vector>

namespace yomi6 {

using namespace std::chrono_literals;
using Clock = SampleMixer::Clock;

namespace {

constexpr int kRate = 44100;
constexpr auto kLatency = 80ms;
constexpr std::int64_t kBufferFrames = 2000; // what the simulated output keeps buffered

std::int64_t Frames(Clock::duration d) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(d).count() * kRate / 1'000'000'000;
}

Clock::duration Span(std::int64_t frames) {
    return std::chrono::nanoseconds(frames * 1'000'000'000 / kRate);
}

// A sample whose frame i is base + i, so that any frame of the stream tells which sample and
// which of its frames sounds there.
std::vector<std::int16_t> Ramp(std::int16_t base, std::size_t size) {
    std::vector<std::int16_t> pcm(size);
    for (std::size_t i = 0; i < size; ++i) {
        pcm[i] = static_cast<std::int16_t>(base + static_cast<std::int16_t>(i));
    }
    return pcm;
}

// An output that plays at kRate (off by ppm parts per million) from t0 on and keeps
// kBufferFrames ahead of what it plays, pulling at the moments the test chooses; it keeps
// everything it pulled.
class SimulatedOutput {
public:
    SimulatedOutput(SampleMixer& mixer, Clock::time_point t0, int ppm = 0)
        : m_mixer(mixer), m_t0(t0), m_ppm(ppm) {}

    // Pulls whatever room the buffer has at now (at least one frame, so that the stream
    // starts at the first pull).
    void PullAt(Clock::time_point now) {
        const std::int64_t elapsed = now < m_t0 ? 0 : Frames(now - m_t0);
        const std::int64_t played = elapsed + elapsed * m_ppm / 1'000'000 - m_stalled;
        const std::int64_t room =
            std::max<std::int64_t>(played + kBufferFrames - Pulled(), Pulled() == 0 ? 1 : 0);
        Pull(now, room);
    }
    void Pull(Clock::time_point now, std::int64_t frames) {
        std::vector<std::int16_t> chunk(static_cast<std::size_t>(frames));
        m_mixer.Render(chunk, now);
        m_stream.insert(m_stream.end(), chunk.begin(), chunk.end());
    }
    // The output ran dry for this long and played silence: from then on what it was given is
    // heard that much later.
    void Stall(Clock::duration d) { m_stalled += Frames(d); }

    std::int64_t Pulled() const { return static_cast<std::int64_t>(m_stream.size()); }
    const std::vector<std::int16_t>& stream() const { return m_stream; }

private:
    SampleMixer& m_mixer;
    Clock::time_point m_t0;
    int m_ppm;
    std::int64_t m_stalled = 0;
    std::vector<std::int16_t> m_stream;
};

// The first frame at or after from whose value is value, or -1.
std::int64_t Find(const std::vector<std::int16_t>& stream, std::int16_t value,
                  std::int64_t from = 0) {
    for (auto i = static_cast<std::size_t>(from); i < stream.size(); ++i) {
        if (stream[i] == value) {
            return static_cast<std::int64_t>(i);
        }
    }
    return -1;
}

// Pulls every 10 ms for 5 s, lets the output run dry for 300 ms, and pulls on to 12 s after t0.
// Returns the moment of the next pull.
Clock::time_point PullPastAStall(SimulatedOutput& output, Clock::time_point t0) {
    auto t = t0;
    for (; t < t0 + 5s; t += 10ms) {
        output.PullAt(t);
    }
    output.Stall(300ms);
    for (; t < t0 + 12s; t += 10ms) {
        output.PullAt(t);
    }
    return t;
}

} // namespace

TEST(SampleMixerTest, PlacesSamplesAtTheirMomentWhateverTheChunking) {
    // One frame, an odd size, 10 ms, larger than a sample.
    for (const int chunk : {1, 37, 441, 3000}) {
        SCOPED_TRACE(chunk);
        SampleMixer mixer(kRate, kLatency);
        const Clock::time_point t0 = Clock::now();
        const auto a = Ramp(1000, 300);
        const auto b = Ramp(5000, 300);
        std::vector<std::int16_t> stream;
        // The stream is tied to the clock by its first pull, at t0; requests come on a 20 ms grid.
        const std::vector<Clock::duration> moments = {0ms, 20ms, 40ms, 60ms};
        std::size_t next = 0;
        while (stream.size() < static_cast<std::size_t>(Frames(200ms))) {
            // The output keeps up to one chunk ahead: it pulls the next when it has played all.
            const auto now = t0 + Span(static_cast<std::int64_t>(stream.size()));
            while (next < moments.size() && t0 + moments[next] <= now) {
                mixer.Schedule(next % 2 == 0 ? a : b, t0 + moments[next]);
                ++next;
            }
            std::vector<std::int16_t> part(static_cast<std::size_t>(chunk));
            mixer.Render(part, now);
            stream.insert(stream.end(), part.begin(), part.end());
        }
        for (std::size_t k = 0; k < moments.size(); ++k) {
            const std::int64_t expected = Frames(moments[k] + kLatency);
            const std::int16_t first = k % 2 == 0 ? 1000 : 5000;
            EXPECT_EQ(stream[static_cast<std::size_t>(expected)], first);
            EXPECT_NE(stream[static_cast<std::size_t>(expected - 1)], first);
        }
        EXPECT_EQ(mixer.stats().lateRequests, 0);
    }
}

TEST(SampleMixerTest, ANewSampleCutsTheSoundingOneAfterAFadeAndSilenceFollowsTheLast) {
    SampleMixer mixer(kRate, kLatency);
    const Clock::time_point t0 = Clock::now();
    SimulatedOutput output(mixer, t0);
    output.PullAt(t0);
    const auto longSample = Ramp(1000, static_cast<std::size_t>(Frames(50ms)));
    const auto shortSample = Ramp(9000, 400);
    mixer.Schedule(longSample, t0 + 1ms);
    mixer.Schedule(shortSample, t0 + 11ms); // cuts the long one after 10 ms
    for (auto t = t0; t < t0 + 300ms; t += 5ms) {
        output.PullAt(t);
    }
    const auto& s = output.stream();
    const auto at = [&](std::int64_t i) { return std::int32_t{s[static_cast<std::size_t>(i)]}; };
    const std::int64_t start = Frames(1ms + kLatency);
    const std::int64_t cut = Frames(11ms + kLatency);
    for (std::int64_t i = 0; i < start; ++i) {
        ASSERT_EQ(at(i), 0) << i;
    }
    for (std::int64_t i = start; i < cut - Frames(std::chrono::microseconds(kCutFadeMicroseconds));
         ++i) {
        ASSERT_EQ(at(i), 1000 + (i - start)) << i;
    }
    // Before the cut, the long sample fades out to nothing in small steps; from the cut on
    // the short one sounds whole, from its first frame.
    const std::int64_t fade = Frames(std::chrono::microseconds(kCutFadeMicroseconds));
    std::int32_t previous = at(cut - fade - 1);
    for (std::int64_t i = cut - fade; i < cut; ++i) {
        ASSERT_LE(at(i), previous + 1) << i; // the ramp itself still rises by one a frame
        ASSERT_LE(previous - at(i), 1500 / 20) << "a step at frame " << i;
        previous = at(i);
    }
    EXPECT_LE(previous, 20);
    for (std::int64_t i = 0; i < 400; ++i) {
        ASSERT_EQ(at(cut + i), 9000 + i) << i;
    }
    for (std::size_t i = static_cast<std::size_t>(cut + 400); i < s.size(); ++i) {
        ASSERT_EQ(s[i], 0) << i;
    }
}

TEST(SampleMixerTest, ARequestForAFramePulledAlreadyStartsAtOnceAndIsCountedLate) {
    SampleMixer mixer(kRate, 10ms); // less than the output's buffer
    const Clock::time_point t0 = Clock::now();
    SimulatedOutput output(mixer, t0);
    output.PullAt(t0);
    output.PullAt(t0 + 1ms);
    const std::int64_t pulled = output.Pulled();
    EXPECT_TRUE(pulled > Frames(10ms));
    const auto pcm = Ramp(700, 50);
    mixer.Schedule(pcm, t0);
    output.PullAt(t0 + 5ms);
    EXPECT_EQ(Find(output.stream(), 700), pulled);
    EXPECT_EQ(mixer.stats().lateRequests, 1);
}

TEST(SampleMixerTest, ASoundAskedForAtTheEarliestOnTimeMomentStartsAtTheFirstFrameNotPulled) {
    SampleMixer mixer(kRate, kLatency);
    EXPECT_FALSE(mixer.EarliestOnTime(0ms)); // no stream: nothing to place against
    const Clock::time_point t0 = Clock::now();
    SimulatedOutput output(mixer, t0);
    // After the output ran dry the stream's clock has stepped: the moment must follow it.
    Clock::time_point t = PullPastAStall(output, t0);
    ASSERT_EQ(mixer.stats().clockCorrections, 1);
    const std::int64_t pulled = output.Pulled();
    const auto at = mixer.EarliestOnTime(2ms);
    ASSERT_TRUE(at);
    // Sooner than a request asked for now, which waits for the whole latency.
    EXPECT_LT(*at, t);
    const auto pcm = Ramp(4000, 20);
    mixer.Schedule(pcm, *at);
    for (auto until = t + 200ms; t < until; t += 10ms) {
        output.PullAt(t);
    }
    // At its frame exactly (within a frame of rounding), and not late.
    EXPECT_LE(std::abs(Find(output.stream(), 4000) - (pulled + Frames(2ms))), 1);
    EXPECT_EQ(mixer.stats().lateRequests, 0);
    mixer.Restart();
    EXPECT_FALSE(mixer.EarliestOnTime(0ms));
}

TEST(SampleMixerTest, SilenceEndsALongSoundAndDropsWhatWasQueued) {
    // A sentence sounds, the next one is queued behind it; silence asked for at a moment
    // whose frame has been pulled already ends the sound at the first frame not yet pulled, and
    // the queued sentence is never heard. Silence at a moment to come ends it there.
    for (const bool past : {true, false}) {
        SCOPED_TRACE(past);
        SampleMixer mixer(kRate, kLatency);
        const Clock::time_point t0 = Clock::now();
        SimulatedOutput output(mixer, t0);
        output.PullAt(t0);
        const auto sentence = Ramp(1000, static_cast<std::size_t>(Frames(400ms)));
        const auto next = Ramp(-20000, 500);
        mixer.Schedule(sentence, t0);
        mixer.Schedule(next, t0 + 400ms);
        for (auto t = t0; t < t0 + 150ms; t += 5ms) {
            output.PullAt(t);
        }
        const std::int64_t pulled = output.Pulled();
        mixer.Silence(past ? t0 : t0 + 200ms);
        for (auto t = t0 + 150ms; t < t0 + 900ms; t += 5ms) {
            output.PullAt(t);
        }
        const auto& s = output.stream();
        const std::int64_t end = past ? pulled : Frames(200ms + kLatency);
        const std::int64_t fade = Frames(std::chrono::microseconds(kCutFadeMicroseconds));
        const std::int64_t start = Frames(kLatency);
        // Whole up to the fade (or, cut without notice, up to the end), silent afterwards.
        for (std::int64_t i = start; i < end - fade; ++i) {
            ASSERT_EQ(s[static_cast<std::size_t>(i)], 1000 + (i - start)) << i;
        }
        for (auto i = static_cast<std::size_t>(end + fade); i < s.size(); ++i) {
            ASSERT_EQ(s[i], 0) << i;
        }
        EXPECT_EQ(Find(s, -20000), -1);
        // What is asked for afterwards sounds.
        const auto sample = Ramp(-30000, 100);
        mixer.Schedule(sample, t0 + 900ms);
        for (auto t = t0 + 900ms; t < t0 + 1200ms; t += 5ms) {
            output.PullAt(t);
        }
        EXPECT_EQ(Find(output.stream(), -30000), Frames(900ms + kLatency));
    }
}

TEST(SampleMixerTest, AFadeLowersTheVolumeToItsFloorUntilTheNextSilence) {
    // A long sound at a steady level: the fade starts at its moment's frame, falls linearly,
    // holds at the floor; a second fade while one is under way changes nothing; the silence
    // ends it, and what is asked for afterwards sounds at full volume.
    SampleMixer mixer(kRate, kLatency);
    const Clock::time_point t0 = Clock::now();
    SimulatedOutput output(mixer, t0);
    output.PullAt(t0);
    const std::vector<std::int16_t> level(static_cast<std::size_t>(Frames(3s)), 20000);
    mixer.Schedule(level, t0);
    const auto pullTo = [&](Clock::time_point end, Clock::time_point from) {
        for (auto t = from; t < end; t += 5ms) {
            output.PullAt(t);
        }
    };
    pullTo(t0 + 400ms, t0);
    mixer.FadeOut(t0 + 400ms, 1s, 32768 / 4);
    pullTo(t0 + 1200ms, t0 + 400ms);
    mixer.FadeOut(t0 + 1200ms, 100ms, 0); // under way already: ignored
    pullTo(t0 + 1500ms, t0 + 1200ms);
    mixer.Silence(t0 + 1500ms);
    const auto after = Ramp(-30000, 100);
    mixer.Schedule(after, t0 + 1600ms);
    pullTo(t0 + 2000ms, t0 + 1500ms);

    const auto& s = output.stream();
    const std::int64_t from = Frames(400ms + kLatency);
    const auto at = [&](std::int64_t f) { return s[static_cast<std::size_t>(f)]; };
    EXPECT_EQ(at(from - 1), 20000);
    EXPECT_EQ(at(from), 20000);
    EXPECT_NEAR(at(from + Frames(500ms)), 12500, 2); // halfway down: 20000 less half of 15000
    for (const auto d : {1000ms, 1050ms, 1090ms}) {  // down, held up to the silence
        EXPECT_EQ(at(Frames(400ms + d + kLatency)), 5000) << d.count();
    }
    EXPECT_EQ(mixer.stats().fades, 1);
    const std::int64_t afterStart = Find(s, -30000);
    ASSERT_EQ(afterStart, Frames(1600ms + kLatency));
    for (std::int64_t i = 0; i < 100; ++i) {
        ASSERT_EQ(at(afterStart + i), -30000 + i) << i;
    }

    // EndFade: full volume again from the first frame not yet pulled; a new fade may begin.
    mixer.Schedule(level, t0 + 2000ms);
    pullTo(t0 + 2200ms, t0 + 2000ms);
    mixer.FadeOut(t0 + 2200ms, 10ms, 0);
    pullTo(t0 + 2400ms, t0 + 2200ms);
    mixer.EndFade();
    const std::int64_t ended = output.Pulled();
    pullTo(t0 + 2600ms, t0 + 2400ms);
    EXPECT_EQ(mixer.stats().fades, 2);
    EXPECT_EQ(at(Frames(2300ms + kLatency)), 0);
    EXPECT_EQ(at(ended), 20000);
}

TEST(SampleMixerTest, KeepsTheGridOverAnHourWithoutDrift) {
    // An hour of ticks every 180 ms, pulled every 15 ms: tick k's sample starts at exactly
    // k x 7938 frames (180 ms at 44100 Hz) after tick 0's.
    SampleMixer mixer(kRate, kLatency);
    const Clock::time_point t0 = Clock::now();
    const auto pcm = Ramp(1, 20);
    std::vector<std::int16_t> chunk;
    std::int64_t pulled = 0;
    std::int64_t firstOnset = -1;
    int tick = 0;
    int checked = 0;
    for (auto t = t0; t < t0 + 1h; t += 15ms) {
        while (t0 + tick * 180ms <= t) {
            mixer.Schedule(pcm, t0 + tick * 180ms);
            ++tick;
        }
        const std::int64_t room = Frames(t - t0) + kBufferFrames - pulled;
        chunk.assign(static_cast<std::size_t>(std::max<std::int64_t>(room, 1)), 0);
        mixer.Render(chunk, t);
        for (std::size_t i = 0; i < chunk.size(); ++i) {
            if (chunk[i] == 1) {
                const std::int64_t onset = pulled + static_cast<std::int64_t>(i);
                if (firstOnset < 0) {
                    firstOnset = onset;
                }
                ASSERT_EQ(onset, firstOnset + checked * 7938) << "tick " << checked;
                ++checked;
            }
        }
        pulled += static_cast<std::int64_t>(chunk.size());
    }
    EXPECT_TRUE(checked > 19'000);
    EXPECT_EQ(mixer.stats().clockCorrections, 0);
}

TEST(SampleMixerTest, StepsItsClockAfterTheOutputRanDry) {
    SampleMixer mixer(kRate, kLatency);
    const Clock::time_point t0 = Clock::now();
    SimulatedOutput output(mixer, t0);
    // The output ran dry for 300 ms: what it holds now is heard 300 ms late. After two watch
    // windows the mixer has noticed and moved its clock by the same amount.
    Clock::time_point t = PullPastAStall(output, t0);
    EXPECT_EQ(mixer.stats().clockCorrections, 1);
    // A request now is placed so that it is heard latency after it, on the output's new pace:
    // at the frame the output will be playing then.
    const auto pcm = Ramp(3000, 10);
    mixer.Schedule(pcm, t);
    const std::int64_t playingNow = Frames(t - t0) - Frames(300ms);
    for (auto until = t + 200ms; t < until; t += 10ms) {
        output.PullAt(t);
    }
    const std::int64_t onset = Find(output.stream(), 3000);
    EXPECT_TRUE(onset > 0);
    // Within the watch's resolution (one pull period).
    EXPECT_LE(std::abs(onset - (playingNow + Frames(kLatency))), Frames(10ms));
    EXPECT_EQ(mixer.stats().lateRequests, 0);
}

TEST(SampleMixerTest, JitteryPullsMoveNothing) {
    // Pulls late by up to 3 ms, and an occasional 30 ms hiccup that the buffer absorbs:
    // the clock stays put.
    SampleMixer mixer(kRate, kLatency);
    const Clock::time_point t0 = Clock::now();
    SimulatedOutput output(mixer, t0);
    std::mt19937 random(42);
    std::uniform_int_distribution<int> jitter(0, 3000);
    int n = 0;
    for (auto t = t0; t < t0 + 60s; t += 10ms, ++n) {
        const auto late = n % 500 == 499 ? 30ms : std::chrono::microseconds(jitter(random));
        output.PullAt(t + late);
    }
    EXPECT_EQ(mixer.stats().clockCorrections, 0);
}

TEST(SampleMixerTest, FollowsAnOutputThatRunsFast) {
    // An output 200 ppm fast takes ever more frames ahead of the clock; left alone, after a few
    // minutes every request would find its frame pulled already. The mixer steps its clock in
    // small steps instead, and requests an hour apart are all placed on time.
    SampleMixer mixer(kRate, kLatency);
    const Clock::time_point t0 = Clock::now();
    SimulatedOutput output(mixer, t0, 200);
    const auto pcm = Ramp(1, 10);
    for (auto t = t0; t < t0 + 1h; t += 15ms) {
        if ((t - t0) % 1s < 15ms) {
            mixer.Schedule(pcm, t);
        }
        output.PullAt(t);
    }
    EXPECT_EQ(mixer.stats().lateRequests, 0);
    // 200 ppm of an hour is 720 ms, taken in steps of a few milliseconds.
    EXPECT_TRUE(mixer.stats().clockCorrections > 100);
}

TEST(SampleMixerTest, SoundEndAndRestart) {
    SampleMixer mixer(kRate, kLatency);
    EXPECT_TRUE(!mixer.SoundEnd()); // no stream: nothing will be heard
    const Clock::time_point t0 = Clock::now();
    SimulatedOutput output(mixer, t0);
    output.PullAt(t0);
    EXPECT_EQ(*mixer.SoundEnd(), t0); // nothing requested: silent from the start
    const auto pcm = Ramp(100, 4410);
    mixer.Schedule(pcm, t0 + 100ms);
    const auto end = t0 + 100ms + kLatency + 100ms;
    EXPECT_TRUE(std::chrono::abs(*mixer.SoundEnd() - end) < 1us); // pending
    output.PullAt(t0 + 190ms);
    EXPECT_TRUE(std::chrono::abs(*mixer.SoundEnd() - end) < 1us); // sounding

    // After a restart the old requests are gone and the next pull ties a new stream.
    mixer.Schedule(pcm, t0 + 200ms);
    mixer.Restart();
    EXPECT_TRUE(!mixer.SoundEnd());
    std::vector<std::int16_t> chunk(static_cast<std::size_t>(Frames(1s)));
    mixer.Render(chunk, t0 + 1s);
    EXPECT_EQ(Find(chunk, 100), -1);
}

} // namespace yomi6
