// Our vocoder against the engine's own waveform generator, on the parameters the engine
// generates for real sentences with the real voice: the same samples, whole sentences and
// stretches started in the middle, with the postfilter and a volume, and a stop honoured.
#include "analysis/mecab_analyzer.h"
#include "labels/labeler.h"
#include "synthesis/block_vocoder.h"
#include "synthesis/hts_voice.h"
#include "synthesis/worker_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <unistd.h>

namespace yomi6::synthesis {
namespace {

constexpr const char* kAccentDictionary = "/var/lib/mecab/dic/open-jtalk/naist-jdic";

class McepVocoderTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (::access((std::string(kAccentDictionary) + "/sys.dic").c_str(), R_OK) != 0) {
            GTEST_SKIP() << "the Open JTalk dictionary is not installed";
        }
        static const HtsVoice::Loaded loaded =
            HtsVoice::Load(StyleVoiceFiles(YOMI6_NATURAL_TEST_VOICES, {}));
        ASSERT_EQ(loaded.error, "");
        m_voice = loaded.voice;
    }

    // The engine of a worker with the parameters of text generated.
    std::unique_ptr<WorkerEngine> Generated(const char* text, const SynthesisOptions& options) {
        std::string error;
        const std::unique_ptr<Analyzer> analyzer = OpenMecabAnalyzer(kAccentDictionary, error);
        EXPECT_NE(analyzer, nullptr) << error;
        labels::Labeler labeler(*analyzer, labels::AccentRules::All());
        std::vector<std::string> labels;
        EXPECT_TRUE(labeler.Labels(text, labels));
        auto engine = std::make_unique<WorkerEngine>(m_voice->Model());
        engine->Configure(options);
        EXPECT_TRUE(engine->MakeStates(labels));
        EXPECT_TRUE(engine->MakeParameters());
        return engine;
    }

    // The largest difference between our samples and the engine's of frames [from, to).
    static double LargestDifference(const HTS_Engine& hts, std::int64_t from, std::int64_t to,
                                    std::size_t* samples = nullptr) {
        const std::optional<std::vector<double>> ours = VocodeFrames(hts, from, to, {});
        const std::optional<std::vector<double>> engines = EngineVocodeFrames(hts, from, to, {});
        EXPECT_TRUE(ours && engines);
        if (!ours || !engines || ours->size() != engines->size()) {
            ADD_FAILURE() << "lengths differ";
            return INFINITY;
        }
        if (samples != nullptr) {
            *samples = ours->size();
        }
        double largest = 0;
        for (std::size_t i = 0; i < ours->size(); ++i) {
            largest = std::max(largest, std::abs((*ours)[i] - (*engines)[i]));
        }
        return largest;
    }

    std::shared_ptr<const HtsVoice> m_voice;
};

TEST_F(McepVocoderTest, MakesTheEnginesSamples) {
    SynthesisOptions options;
    const auto engine = Generated("今日は良い天気ですね。彼は「本当？」と聞いた。", options);
    HTS_Engine& hts = engine->Engine();
    const auto frames = static_cast<std::int64_t>(hts.pss.total_frame);
    ASSERT_GT(frames, 200);
    std::size_t samples = 0;
    // The sound is the engine's to the last bit of a double's rounding: same operations, same
    // order.
    EXPECT_LT(LargestDifference(hts, 0, frames, &samples), 1e-9);
    EXPECT_EQ(samples, static_cast<std::size_t>(frames) * 240);
    // A stretch started afresh inside a voiced sound, and one ending before the sentence does.
    EXPECT_LT(LargestDifference(hts, frames / 3, frames / 3 + 57), 1e-9);
    EXPECT_LT(LargestDifference(hts, 1, frames - 1), 1e-9);

    // The postfilter and the volume, which the voice leaves off, are the engine's too.
    hts.condition.beta = 0.4;
    hts.condition.volume = 0.5;
    EXPECT_LT(LargestDifference(hts, 0, frames), 1e-9);
}

TEST_F(McepVocoderTest, PitchAndWarpedSpectrumStayTheEngines) {
    SynthesisOptions options;
    options.halfTones = 7;
    options.variant = natural::Variant::Lowered; // another all-pass constant
    options.rate = 1.6;
    const auto engine = Generated("どこで生れたかとんと見当がつかぬ。", options);
    HTS_Engine& hts = engine->Engine();
    EXPECT_LT(LargestDifference(hts, 0, static_cast<std::int64_t>(hts.pss.total_frame)), 1e-9);
}

TEST_F(McepVocoderTest, AStopEndsItAndAnEmptyStretchIsSilence) {
    const auto engine = Generated("名前はまだ無い。", SynthesisOptions{});
    const HTS_Engine& hts = engine->Engine();
    std::stop_source stopped;
    stopped.request_stop();
    EXPECT_FALSE(VocodeFrames(hts, 0, 100, stopped.get_token()).has_value());
    const std::optional<std::vector<double>> none = VocodeFrames(hts, 40, 40, {});
    ASSERT_TRUE(none.has_value());
    EXPECT_TRUE(none->empty());
    // Frames past the end are not made.
    const auto frames = static_cast<std::int64_t>(hts.pss.total_frame);
    const std::optional<std::vector<double>> tail = VocodeFrames(hts, frames - 2, frames + 50, {});
    ASSERT_TRUE(tail.has_value());
    EXPECT_EQ(tail->size(), 2u * 240);
}

} // namespace
} // namespace yomi6::synthesis
