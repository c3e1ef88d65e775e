// How one sample gives way to the next: told ahead, the cut sample fades out before the new
// one's start and the new one sounds whole; told late, the cut sample fades out under the new
// one; either way smoothly and within the fade. A sample that ended before the next start
// leaves nothing; sums are clamped; the end of the sound counts the fade.
#include "playback/sample_handover.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace yomi6 {
namespace {

constexpr int kRate = 16000;
constexpr std::int64_t kFade = std::int64_t{kRate} * kCutFadeMicroseconds / 1'000'000;

std::vector<std::int16_t> Level(std::int16_t value, std::size_t count) {
    return std::vector<std::int16_t>(count, value);
}

std::vector<std::int16_t> RenderAll(SampleHandover& h, std::int64_t from, std::int64_t to) {
    std::vector<std::int16_t> out(static_cast<std::size_t>(to - from));
    h.Render(out.data(), from, to);
    return out;
}

TEST(SampleHandoverTest, ACutToldAheadFadesOutBeforeTheNextStartWhichSoundsWhole) {
    SampleHandover h(kRate);
    const auto loud = Level(20000, 1000);
    const auto quiet = Level(-3000, 1000);
    h.Start(loud, 0);
    h.CutAt(300);
    h.CutAt(300); // the same again changes nothing
    EXPECT_EQ(h.End(), 300);
    const auto before = RenderAll(h, 0, 300);
    h.Start(quiet, 300);
    EXPECT_EQ(RenderAll(h, 300, 400), Level(-3000, 100));
    for (std::int64_t i = 0; i < 300 - kFade; ++i) {
        ASSERT_EQ(before[static_cast<std::size_t>(i)], 20000) << i;
    }
    for (std::int64_t i = 300 - kFade; i < 300; ++i) {
        const int step =
            before[static_cast<std::size_t>(i - 1)] - before[static_cast<std::size_t>(i)];
        ASSERT_GE(step, 0) << i;
        ASSERT_LE(step, 20000 * 3 / 100) << i;
    }
    EXPECT_LE(before[299], 20000 / 100);
}

TEST(SampleHandoverTest, ACutToldWithLessThanHalfTheFadeLeftFadesUnderTheNextStart) {
    // Half the fade still to render: a fade of that length, ahead of the cut.
    SampleHandover half(kRate);
    const auto loud = Level(20000, 1000);
    const auto quiet = Level(-3000, 1000);
    half.Start(loud, 0);
    RenderAll(half, 0, 300 - kFade / 2);
    half.CutAt(300);
    const auto last = RenderAll(half, 300 - kFade / 2, 300);
    EXPECT_GT(last.front(), 19000);
    EXPECT_LE(last.back(), 20000 / 100);

    // Less than that: nothing ahead; the sample fades under the next one.
    SampleHandover late(kRate);
    late.Start(loud, 0);
    RenderAll(late, 0, 300 - kFade / 4);
    late.CutAt(300);
    EXPECT_EQ(RenderAll(late, 300 - kFade / 4, 300), Level(20000, kFade / 4));
    late.Start(quiet, 300);
    EXPECT_GT(RenderAll(late, 300, 301)[0], -3000 + 19900);
}

TEST(SampleHandoverTest, ACutWithoutNoticeFadesOutSmoothlyUnderTheNextOne) {
    SampleHandover h(kRate);
    ASSERT_EQ(h.fadeFrames(), kFade);
    const auto loud = Level(20000, 1000);
    const auto quiet = Level(-3000, 1000);
    h.Start(loud, 0);
    const auto before = RenderAll(h, 0, 300);
    h.Start(quiet, 300);
    const auto after = RenderAll(h, 300, 1400);
    for (const std::int16_t v : before) {
        ASSERT_EQ(v, 20000); // the cut sample is whole up to the cut
    }
    // The first frame of the new sample still carries nearly all of the cut one; then it falls
    // to nothing within the fade, never by more than a few hundredths of its level per frame.
    EXPECT_GT(after[0], -3000 + 19900);
    for (std::int64_t i = 1; i < kFade; ++i) {
        const int step =
            after[static_cast<std::size_t>(i - 1)] - after[static_cast<std::size_t>(i)];
        ASSERT_GE(step, 0) << i;
        ASSERT_LE(step, 20000 * 3 / 100) << i;
    }
    EXPECT_LE(after[static_cast<std::size_t>(kFade - 1)], -3000 + 20000 / 100);
    for (std::size_t i = static_cast<std::size_t>(kFade); i < 1000; ++i) {
        ASSERT_EQ(after[i], -3000) << i;
    }
    for (std::size_t i = 1000; i < after.size(); ++i) {
        ASSERT_EQ(after[i], 0) << i;
    }
    EXPECT_EQ(h.End(), 1300);
}

TEST(SampleHandoverTest, ASampleThatEndedBeforeTheNextStartLeavesNothing) {
    SampleHandover h(kRate);
    const auto a = Level(5000, 100);
    const auto b = Level(7000, 100);
    h.Start(a, 0);
    EXPECT_EQ(RenderAll(h, 0, 150), [&] {
        auto v = Level(5000, 100);
        v.resize(150, 0);
        return v;
    }());
    h.Start(b, 150);
    EXPECT_EQ(RenderAll(h, 150, 250), Level(7000, 100)); // exact from its first frame
    // Back to back, the first ending right at the second's start: no fade either.
    h.Start(a, 250);
    RenderAll(h, 250, 350);
    h.Start(b, 350);
    EXPECT_EQ(RenderAll(h, 350, 450), Level(7000, 100));
}

TEST(SampleHandoverTest, SumsAreClampedAndTheFadeOutlastsAShortNextSample) {
    SampleHandover h(kRate);
    const auto high = Level(30000, 500);
    const auto blip = Level(30000, 2);
    h.Start(high, 0);
    RenderAll(h, 0, 100);
    h.Start(blip, 100);
    EXPECT_EQ(h.End(), 100 + kFade); // the fade of the cut sample outlasts the blip
    const auto out = RenderAll(h, 100, 100 + kFade + 10);
    EXPECT_EQ(out[0], 32767);
    EXPECT_EQ(out[1], 32767);
    EXPECT_LT(out[2], 30000);
    EXPECT_GT(out[2], 29000);
    EXPECT_EQ(out.back(), 0);

    // Negative sums clamp too.
    SampleHandover low(kRate);
    const auto minus = Level(-30000, 500);
    low.Start(minus, 0);
    low.Start(minus, 10);
    EXPECT_EQ(RenderAll(low, 10, 11)[0], -32768);
}

TEST(SampleHandoverTest, ACutWithinAFadeDropsTheOlderFadeAndClearSilencesAll) {
    SampleHandover h(kRate);
    const auto a = Level(10000, 500);
    const auto b = Level(1000, 500);
    const auto c = Level(100, 500);
    h.Start(a, 0);
    h.Start(b, 100);
    h.Start(c, 110); // b is cut 10 frames in; a, still fading, is gone
    const auto out = RenderAll(h, 110, 111);
    EXPECT_GT(out[0], 100 + 900);
    EXPECT_LT(out[0], 100 + 1001);
    h.Clear();
    EXPECT_EQ(h.End(), 0);
    EXPECT_EQ(RenderAll(h, 110, 120), Level(0, 10));
}

} // namespace
} // namespace yomi6
