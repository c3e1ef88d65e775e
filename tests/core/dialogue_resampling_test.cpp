// The sound of a run joined at another rate: resampled band-limited, so that a tone above the
// lower rate's half leaves nothing in its band, and on exact frames, so that the units and the
// runs keep their places on the joined clock. The runs come from an engine that says a pure tone,
// a mora per character, in blocks of uneven size: no real voice has a spectrum this plain.
#include "export/dialogue_engine.h"
#include "support/sjis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

namespace yomi6 {
namespace {

constexpr std::int64_t kMoraFrames = 4801; // at the tone's rate

// Says a sine of hz at rate, half of full scale: each two source bytes a mora kMoraFrames long,
// handed in blocks of 997 frames, each with the morae that start in it.
class ToneEngine : public SpeechEngine {
public:
    ToneEngine(int rate, double hz) : m_rate(rate), m_hz(hz) {}
    int SampleRate() const override { return m_rate; }
    SampleBits Bits() const override { return SampleBits::Sixteen; }
    EngineCapabilities Capabilities() const override { return {UnitKind::Mora, 0}; }
    EngineSettings Settings() const override { return {}; }

private:
    EngineResult Run(const EngineText& text, const EngineSink& sink) override {
        std::vector<SpokenUnit> units;
        for (std::size_t at = text.from; at + 1 < std::min(text.to, text.text.size()); at += 2) {
            SpokenUnit unit;
            unit.index = static_cast<std::int64_t>(units.size());
            unit.startFrame = unit.index * kMoraFrames;
            unit.endFrame = unit.startFrame + kMoraFrames;
            unit.startMs = FrameToMs(unit.startFrame, m_rate);
            unit.endMs = FrameToMs(unit.endFrame, m_rate);
            unit.says = "ア";
            unit.sourceBegin = at;
            unit.sourceEnd = at + 2;
            units.push_back(unit);
        }
        const auto total = static_cast<std::int64_t>(units.size()) * kMoraFrames;
        std::vector<std::int16_t> pcm;
        std::size_t next = 0;
        for (std::int64_t start = 0; start < total; start += 997) {
            const std::int64_t end = std::min(start + 997, total);
            pcm.clear();
            for (std::int64_t f = start; f < end; ++f) {
                pcm.push_back(
                    static_cast<std::int16_t>(16384 * std::sin(2 * std::numbers::pi * m_hz *
                                                               static_cast<double>(f) / m_rate)));
            }
            std::size_t first = next;
            while (next < units.size() && units[next].startFrame < end) {
                ++next;
            }
            bool stopped = false;
            const SoundBlock block{nullptr, pcm.data(), pcm.size(), start,
                                   std::span<const SpokenUnit>(units).subspan(first, next - first)};
            if (!Hand(block, sink, stopped)) {
                return {stopped ? SpeechStatus::Stopped : SpeechStatus::Done,
                        {},
                        static_cast<std::int64_t>(next),
                        0};
            }
        }
        return {SpeechStatus::Done, {}, static_cast<std::int64_t>(units.size()), 0};
    }

    int m_rate;
    double m_hz;
};

struct Joined {
    std::vector<std::int16_t> pcm;
    std::vector<SpokenUnit> units;
    EngineResult result;
};

// text said by two tones of hz, at 48000 Hz, joined at rate; every unit checked to come with the
// block its frame lies in.
Joined Join(const std::string& text, double hz, int rate) {
    DialogueEngine engine(std::make_unique<ToneEngine>(48000, hz),
                          std::make_unique<ToneEngine>(48000, hz), rate);
    Joined joined;
    EngineSink sink;
    sink.onBlock = [&](const SoundBlock& block) {
        EXPECT_EQ(block.startFrame, static_cast<std::int64_t>(joined.pcm.size()));
        for (const SpokenUnit& unit : block.units) {
            EXPECT_GE(unit.startFrame, block.startFrame);
            joined.units.push_back(unit);
        }
        joined.pcm.insert(joined.pcm.end(), block.sixteen, block.sixteen + block.count);
        return true;
    };
    joined.result = engine.Say(EngineText{text}, sink);
    return joined;
}

// The power of pcm at hz (rate) relative to a full-scale sine's, in dB: a Goertzel filter over
// frames [from, to), Hann-windowed.
double LevelDb(const std::vector<std::int16_t>& pcm, std::size_t from, std::size_t to, double hz,
               int rate) {
    const double w = 2 * std::numbers::pi * hz / rate;
    const double coefficient = 2 * std::cos(w);
    double s1 = 0;
    double s2 = 0;
    double windowSum = 0;
    const auto n = static_cast<double>(to - from);
    for (std::size_t k = from; k < to; ++k) {
        const double hann =
            0.5 - 0.5 * std::cos(2 * std::numbers::pi * static_cast<double>(k - from) / n);
        windowSum += hann;
        const double s0 = hann * pcm[k] / 32768.0 + coefficient * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
    const double amplitude = 2 * std::sqrt(std::max(power, 0.0)) / windowSum;
    return 20 * std::log10(std::max(amplitude, 1e-12));
}

TEST(DialogueResampling, AToneAboveTheLowerRatesHalfLeavesNothingInItsBand) {
    // Narration, a line of four morae, narration: three runs of 48000 Hz tones joined at 16000.
    const std::string text = test::Sjis("あいう「えおかき」くけこ");
    // 10 kHz, above 8 kHz: a straight line between the samples folds it to 6 kHz.
    const Joined high = Join(text, 10000, 16000);
    ASSERT_EQ(high.result.status, SpeechStatus::Done);
    ASSERT_GT(high.pcm.size(), 16000u);
    // Within the line (frames 4801 to 14403), away from its ends, where each run's tone starts.
    const std::size_t from = 5300;
    const std::size_t to = from + 8192;
    EXPECT_LT(LevelDb(high.pcm, from, to, 6000, 16000), -70.0);
    EXPECT_LT(LevelDb(high.pcm, from, to, 10000 - 8000, 16000), -70.0);
    // A tone within the band keeps its level (half of full scale: -6 dB).
    const Joined low = Join(text, 3000, 16000);
    ASSERT_EQ(low.result.status, SpeechStatus::Done);
    EXPECT_NEAR(LevelDb(low.pcm, from, to, 3000, 16000), -6.02, 0.2);
}

TEST(DialogueResampling, TheRunsAndUnitsKeepExactFramesOnTheJoinedClock) {
    // Runs of 3, 5 (the brackets two morae of their own) and 3 morae; each mora of 4801 frames
    // at 48000 Hz is 1600.33 at 16000 and 4401.9 at 44000, so every rounding shows.
    const std::string text = test::Sjis("あいう「えおか」くけこ");
    const std::vector<std::int64_t> runs{3, 5, 3};
    for (const int rate : {16000, 44000, 48000}) {
        const Joined joined = Join(text, 440, rate);
        ASSERT_EQ(joined.result.status, SpeechStatus::Done) << rate;
        const auto frameOf = [&](std::int64_t f) { return (f * rate + 24000) / 48000; };
        std::int64_t runStart = 0;
        std::size_t k = 0;
        for (const std::int64_t morae : runs) {
            for (std::int64_t m = 0; m < morae; ++m, ++k) {
                ASSERT_LT(k, joined.units.size()) << rate;
                const SpokenUnit& unit = joined.units[k];
                EXPECT_EQ(unit.startFrame, runStart + frameOf(m * kMoraFrames)) << rate << " " << k;
                EXPECT_EQ(unit.endFrame, runStart + frameOf((m + 1) * kMoraFrames))
                    << rate << " " << k;
                EXPECT_EQ(unit.startMs,
                          FrameToMs(runStart, rate) + FrameToMs(m * kMoraFrames, 48000))
                    << rate << " " << k;
            }
            runStart += frameOf(morae * kMoraFrames);
        }
        EXPECT_EQ(joined.units.size(), k) << rate;
        EXPECT_EQ(static_cast<std::int64_t>(joined.pcm.size()), runStart) << rate;
        EXPECT_EQ(joined.result.frames, runStart) << rate;
    }
}

} // namespace
} // namespace yomi6
