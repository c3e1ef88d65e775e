// Samples that fit a fast tick: the compiled-in samples shortened to the tick keep their
// onset and their pitch, are never squeezed below the floor ratio, are left alone when they
// fit already; the set of each speed is built once and kept; and a rendering with the setting
// on lets every sample end before the next tick instead of being cut.
#include "playback/fitted_samples.h"
#include "playback/playback.h"
#include "playback/wav_render.h"
#include "support/sjis.h"
#include "support/test_reading.h"
#include "support/wave_analysis.h"
#include "voice/sample_store.h"
#include "wave/sample_pcm.h"
#include "wave/wave_decoder.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace yomi6 {
namespace {

constexpr int kRate = 16000;

std::vector<std::int16_t> Decoded(std::string_view name) {
    const SampleImage image = FindSample(name);
    const auto wave = ParseWave(image.data, image.size);
    return wave ? DecodeSamplePcm(*wave, kRate) : std::vector<std::int16_t>{};
}

std::vector<unsigned char> Bytes(std::span<const std::int16_t> pcm) {
    std::vector<unsigned char> out(pcm.size());
    std::transform(pcm.begin(), pcm.end(), out.begin(), [](std::int16_t v) {
        return static_cast<unsigned char>(std::clamp((v + 128) >> 8, -128, 127) + 128);
    });
    return out;
}

TEST(FittedSamplesTest, ShortenedToTheTickWithOnsetAndPitchKept) {
    // Voiced syllables of both voices, at 120 ms per tick.
    for (const char* name : {"IDW_A", "IDW_MA", "IDW_GYO", "IDF_A", "IDF_NO", "IDF_RYU"}) {
        SCOPED_TRACE(name);
        const auto pcm = Decoded(name);
        const std::int64_t target = 120 * kRate / 1000;
        ASSERT_GT(static_cast<std::int64_t>(pcm.size()), target);
        const auto fitted = FitToLength(pcm, kRate, target);
        EXPECT_EQ(static_cast<std::int64_t>(fitted.size()), target);

        const auto before = Bytes(pcm);
        const auto after = Bytes(fitted);
        const auto range = test::SoundingRange(after, 3);
        ASSERT_TRUE(range);
        EXPECT_LE(range->begin, static_cast<std::size_t>(kRate * 5 / 1000)) << "sounds at once";
        const auto pitchBefore = test::EstimatePitch(before, kRate);
        const auto pitchAfter = test::EstimatePitch(after, kRate);
        ASSERT_TRUE(pitchBefore && pitchAfter);
        EXPECT_NEAR(*pitchAfter, *pitchBefore, *pitchBefore * 0.08);
    }
}

TEST(FittedSamplesTest, NeverBelowTheFloorRatioAndShortSamplesStayAsTheyAre) {
    const auto pcm = Decoded("IDF_KA");
    const auto length = static_cast<std::int64_t>(pcm.size());
    const auto squeezed = FitToLength(pcm, kRate, 10 * kRate / 1000);
    EXPECT_NEAR(static_cast<double>(squeezed.size()), static_cast<double>(length) * kMinFitRatio,
                1.0);
    EXPECT_EQ(FitToLength(pcm, kRate, length), pcm);
    EXPECT_EQ(FitToLength(pcm, kRate, length + 500), pcm);
    EXPECT_TRUE(FitToLength({}, kRate, 100).empty());
}

TEST(FittedSamplesTest, EachSpeedIsBuiltOnceAndItsFramesStayValid) {
    FittedSamples fitted(kRate);
    const auto a = Decoded("IDW_A");
    const auto s = Decoded("IDW_S");
    // Before anything was prepared, every sample plays as it is.
    EXPECT_EQ(fitted.Find("IDW_A", a).data(), a.data());

    fitted.Prepare(120);
    fitted.Add("IDW_A", a);
    fitted.Add("IDW_S", s);
    EXPECT_EQ(fitted.size(), 2u);
    const auto at120 = fitted.Find("IDW_A", a);
    EXPECT_EQ(at120.size(), std::size_t{120 * kRate / 1000});
    fitted.Add("IDW_A", a); // built already: the same frames
    EXPECT_EQ(fitted.Find("IDW_A", a).data(), at120.data());

    // At 180 ms the syllable fits as it is; the pause sample does not.
    fitted.Prepare(180);
    fitted.Add("IDW_A", a);
    fitted.Add("IDW_S", s);
    EXPECT_EQ(fitted.Find("IDW_A", a).data(), a.data());
    EXPECT_EQ(fitted.Find("IDW_S", s).size(), std::size_t{180 * kRate / 1000});

    // Back at 120 ms nothing is scaled again, and what was handed out is still there.
    fitted.Prepare(120);
    EXPECT_EQ(fitted.Find("IDW_A", a).data(), at120.data());
    // A speed below the timer's floor fits the floor's tick.
    fitted.Prepare(0);
    fitted.Add("IDW_A", a);
    EXPECT_NEAR(static_cast<double>(fitted.Find("IDW_A", a).size()),
                static_cast<double>(a.size()) * kMinFitRatio, 1.0);
}

// A name speaks another sound once a slot has another voice: its frames scaled for the voices
// before are never found for the new ones, and the old ones stay valid for output still
// playing them.
TEST(FittedSamplesTest, EachSetOfVoicesHasItsOwnScaledFrames) {
    FittedSamples fitted(kRate);
    const auto builtIn = Decoded("IDF_A");
    const auto other = Decoded("IDW_MA"); // the folder voice's A, say
    ASSERT_NE(builtIn.size(), other.size());
    const std::int64_t tick = 120 * kRate / 1000;

    fitted.Prepare(120, 1);
    fitted.Add("IDF_A", builtIn);
    const auto first = fitted.Find("IDF_A", builtIn);
    ASSERT_EQ(static_cast<std::int64_t>(first.size()), tick);
    const std::vector<std::int16_t> firstCopy(first.begin(), first.end());

    // The slot now speaks another voice: nothing scaled yet, the new frames play as they are.
    fitted.Prepare(120, 2);
    EXPECT_EQ(fitted.size(), 0u);
    EXPECT_EQ(fitted.Find("IDF_A", other).data(), other.data());
    fitted.Add("IDF_A", other);
    const auto second = fitted.Find("IDF_A", other);
    ASSERT_EQ(static_cast<std::int64_t>(second.size()), tick);
    EXPECT_NE(second.data(), first.data());
    EXPECT_EQ(std::vector<std::int16_t>(second.begin(), second.end()),
              FitToLength(other, kRate, tick));

    // Back to the first voices: their frames, untouched.
    fitted.Prepare(120, 1);
    EXPECT_EQ(fitted.Find("IDF_A", builtIn).data(), first.data());
    EXPECT_EQ(std::vector<std::int16_t>(first.begin(), first.end()), firstCopy);
}

// Renders the reading at speed with and without fitting; returns the data of both.
std::pair<std::vector<unsigned char>, std::vector<unsigned char>> RenderBoth(const char* reading,
                                                                             int speed) {
    test::TestReading run;
    auto state = std::make_unique<SpeechState>();
    const std::string text = test::Sjis(reading);
    StartSpeech(*state, reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                run.Setup());
    state->speed = speed;
    const auto off = RenderPassWave(*state, CompiledInSound, nullptr, SampleFitting::Off);
    const auto on = RenderPassWave(*state, CompiledInSound, nullptr, SampleFitting::On);
    EXPECT_TRUE(off && on);
    const auto data = [](const std::vector<unsigned char>& image) {
        return std::vector<unsigned char>(image.begin() + kWaveHeaderSize, image.end());
    };
    return {data(*off), data(*on)};
}

TEST(FittedSamplesTest, WithTheSettingEverySampleEndsBeforeTheNextTick) {
    // At 120 ms most samples are longer than the tick: without the setting they sound up to
    // the next tick and are cut; with it each has ended (to silence) just before the next.
    const int speed = 120;
    const std::size_t tick = speed * kRenderRate / 1000;
    const auto [off, on] = RenderBoth("ｵﾊﾖｳｺﾞｻﾞｲﾏｽ", speed);
    ASSERT_GE(std::min(off.size(), on.size()), 9 * tick); // 9 units, then the NUL's tick
    // 5 ms before each tick: without the setting the sample that the tick cuts sounds loud
    // there (and fades out before the tick); with it, the sample has decayed by itself.
    const auto peak = [](const std::vector<unsigned char>& data, std::size_t from, std::size_t to) {
        int most = 0;
        for (std::size_t i = from; i < to; ++i) {
            most = std::max(most, std::abs(data[i] - 128));
        }
        return most;
    };
    const std::size_t before = kRenderRate * 5 / 1000;
    int cutWithout = 0;
    for (std::size_t k = 1; k < 9; ++k) {
        const std::size_t c = k * tick;
        cutWithout += peak(off, c - before - 8, c - before) > 12 ? 1 : 0;
        EXPECT_LE(peak(on, c - before, c), 8) << "tick " << k << " cuts a sample";
        // Each tick still starts its sample on the grid, as the samples themselves do.
        const auto range = test::SoundingRange({on.data() + c, 160}, 3);
        ASSERT_TRUE(range) << "tick " << k;
        EXPECT_LE(range->begin, before) << "tick " << k;
    }
    EXPECT_GE(cutWithout, 7);
    // The setting changes nothing at a speed the samples fit already.
    const auto [slowOff, slowOn] = RenderBoth("ｵﾊﾖｳｺﾞｻﾞｲﾏｽ", 200);
    EXPECT_EQ(slowOff, slowOn);
}

} // namespace
} // namespace yomi6
