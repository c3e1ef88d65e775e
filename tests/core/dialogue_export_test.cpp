// The lines in 「」 and 『』 said by a voice of their own, with the real engines and files: each
// run is said by its voice on one clock, the subtitles and timings follow the units, and the
// sample voices' sound is brought to the natural voice's format where the two are joined.
#include "analysis/analyzer_loader.h"
#include "analysis/mecab_analyzer.h"
#include "engine/engine_choice.h"
#include "export/dialogue_engine.h"
#include "export/engine_factory.h"
#include "export/export_job.h"
#include "export/sample_engine.h"
#include "export/unit_timings.h"
#include "natural_engine_support.h"
#include "support/scoped_env.h"
#include "support/sjis.h"
#include "support/temp_dir.h"
#include "support/test_reading.h"
#include "text/dialogue_spans.h"
#include "wave/pcm_convert.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace yomi6 {
namespace {

using test::Sjis;

struct Heard {
    std::vector<SpokenUnit> units;
    std::vector<std::string> names; // each unit's sample or mora, kept past its block
    std::vector<std::int16_t> sixteen;
    std::vector<unsigned char> eight;
    EngineResult result;
};

Heard Hear(SpeechEngine& engine, const std::string& text) {
    Heard heard;
    EngineSink sink;
    sink.onBlock = [&](const SoundBlock& block) {
        for (const SpokenUnit& unit : block.units) {
            heard.units.push_back(unit);
            heard.names.emplace_back(unit.says);
        }
        if (block.sixteen != nullptr) {
            heard.sixteen.insert(heard.sixteen.end(), block.sixteen, block.sixteen + block.count);
        } else if (block.eight != nullptr) {
            heard.eight.insert(heard.eight.end(), block.eight, block.eight + block.count);
        }
        return true;
    };
    heard.result = engine.Say(EngineText{text}, sink);
    return heard;
}

bool InSpan(const std::vector<DialogueSpan>& spans, const SpokenUnit& unit) {
    for (const DialogueSpan& span : spans) {
        if (unit.sourceBegin >= span.begin && unit.sourceEnd <= span.end) {
            return true;
        }
    }
    return false;
}

struct CueRead {
    std::int64_t startMs, endMs;
};

std::int64_t MsOf(const std::smatch& m, std::size_t first) {
    return ((std::stoll(m[first]) * 60 + std::stoll(m[first + 1])) * 60 +
            std::stoll(m[first + 2])) *
               1000 +
           std::stoll(m[first + 3]);
}

std::vector<CueRead> ReadVttCues(const std::string& vtt) {
    std::istringstream in(vtt);
    const std::regex times(R"((\d+):(\d\d):(\d\d)\.(\d\d\d) --> (\d+):(\d\d):(\d\d)\.(\d\d\d))");
    std::vector<CueRead> cues;
    for (std::string line; std::getline(in, line);) {
        std::smatch m;
        if (std::regex_search(line, m, times)) {
            cues.push_back({MsOf(m, 1), MsOf(m, 5)});
        }
    }
    return cues;
}

class DialogueExport : public ::testing::Test {
protected:
    test::TestReading m_reading;

    std::unique_ptr<SpeechEngine> Samples(std::int32_t voice) {
        ExportRequest request(m_reading.Setup());
        request.voice = voice;
        return std::make_unique<SampleEngine>(request);
    }
};

TEST_F(DialogueExport, TheLinesAreSaidByTheOtherSlotOnOneClockAndTheCuesFollowTheUnits) {
    const std::string text =
        Sjis("ねこがいた。「はい、そうです」とねこはいった。\r\nあめ『ふる\r\nかな』とおもった。");
    const std::vector<DialogueSpan> spans = DialogueSpans(text);
    ASSERT_EQ(spans.size(), 2u);
    DialogueEngine engine(Samples(0), Samples(1));
    EXPECT_EQ(engine.SampleRate(), kRenderRate);
    EXPECT_EQ(engine.Bits(), SampleBits::Eight);
    const Heard heard = Hear(engine, text);
    ASSERT_EQ(heard.result.status, SpeechStatus::Done) << heard.result.error;
    int male = 0;
    int female = 0;
    std::int64_t lastEnd = 0;
    std::int64_t lastIndex = -1;
    for (std::size_t k = 0; k < heard.units.size(); ++k) {
        const SpokenUnit& unit = heard.units[k];
        // The ticks go on counting across the runs (each run's ending tick among them).
        EXPECT_GT(unit.index, lastIndex) << k;
        lastIndex = unit.index;
        EXPECT_GE(unit.startMs, lastEnd) << k; // one clock: never back, never overlapping
        // Its place in the sound, within the rounding of where its run starts.
        EXPECT_LE(std::abs(unit.startFrame - unit.startMs * (kRenderRate / 1000)), 8) << k;
        lastEnd = unit.endMs;
        const std::string& name = heard.names[k];
        if (name.empty()) {
            continue;
        }
        const bool line = InSpan(spans, unit);
        EXPECT_EQ(name.rfind(line ? "IDW_" : "IDF_", 0), 0u) << k << " " << name;
        (line ? male : female) += 1;
    }
    EXPECT_GT(male, 8);
    EXPECT_GT(female, 15);
    EXPECT_EQ(static_cast<std::size_t>(heard.result.frames), heard.eight.size());
    EXPECT_GE(heard.result.frames, lastEnd * (kRenderRate / 1000));

    // The same saying joined at a player's rate: 16-bit, each run's frames scaled to it.
    DialogueEngine played(Samples(0), Samples(1), 44100);
    const Heard resampled = Hear(played, text);
    ASSERT_EQ(resampled.result.status, SpeechStatus::Done) << resampled.result.error;
    EXPECT_EQ(static_cast<std::size_t>(resampled.result.frames), resampled.sixteen.size());
    EXPECT_TRUE(resampled.eight.empty());
    EXPECT_NEAR(static_cast<double>(resampled.result.frames),
                static_cast<double>(heard.result.frames) * 44100.0 / kRenderRate, 8.0);
    ASSERT_EQ(resampled.units.size(), heard.units.size());
    for (std::size_t k = 0; k < heard.units.size(); ++k) {
        // Each run starts on a whole frame of the new rate: a millisecond of rounding at most.
        EXPECT_LE(std::abs(resampled.units[k].startMs - heard.units[k].startMs), 1) << k;
        EXPECT_NEAR(static_cast<double>(resampled.units[k].startFrame),
                    static_cast<double>(heard.units[k].startFrame) * 44100.0 / kRenderRate, 8.0)
            << k;
    }

    // The files of the same saying: the timings are the units, and each cue runs from a unit's
    // start to a unit's end.
    test::TempDir dir;
    const ExportOutputs outputs{dir.File("d.flac"), dir.File("d.vtt"), dir.File("d.json")};
    DialogueEngine again(Samples(0), Samples(1));
    const ExportJobResult result = RunExportJob(again, ExportText{text}, outputs);
    ASSERT_EQ(result.status, ExportStatus::Done) << result.error;
    EXPECT_EQ(result.samples, heard.result.frames);
    const std::string timings = test::ReadFile(dir.File("d.json"));
    std::size_t entries = 0;
    for (std::size_t at = timings.find("\"sample\""); at != std::string::npos;
         at = timings.find("\"sample\"", at + 1)) {
        ++entries;
    }
    EXPECT_EQ(entries, heard.units.size());
    const std::vector<CueRead> cues = ReadVttCues(test::ReadFile(dir.File("d.vtt")));
    ASSERT_GE(cues.size(), 3u);
    for (const CueRead& cue : cues) {
        const bool starts =
            std::any_of(heard.units.begin(), heard.units.end(),
                        [&](const SpokenUnit& u) { return u.startMs == cue.startMs; });
        const bool ends = std::any_of(heard.units.begin(), heard.units.end(),
                                      [&](const SpokenUnit& u) { return u.endMs == cue.endMs; });
        EXPECT_TRUE(starts && ends) << cue.startMs << " --> " << cue.endMs;
    }
}

TEST_F(DialogueExport, SamplesFitTheTickWhenAskedOnEverySaying) {
    // At 55 ms most samples overrun their tick: fitted, each is shortened to it.
    const std::string narration = Sjis("ねこがいった。");
    const std::string text = narration + Sjis("「やまです」");
    const auto samples = [&](std::int32_t voice, SampleFitting fitting) {
        ExportRequest request(m_reading.Setup());
        request.voice = voice;
        request.speed = 55;
        request.fitting = fitting;
        return std::make_unique<SampleEngine>(request);
    };
    const std::unique_ptr<SpeechEngine> alone = samples(0, SampleFitting::On);
    const Heard fittedNarration = Hear(*alone, narration);
    const std::unique_ptr<SpeechEngine> plain = samples(0, SampleFitting::Off);
    const Heard plainNarration = Hear(*plain, narration);
    // Its last sample ends sooner, and those before it sound otherwise within their ticks.
    ASSERT_LT(fittedNarration.eight.size(), plainNarration.eight.size());
    EXPECT_FALSE(std::equal(fittedNarration.eight.begin(), fittedNarration.eight.end(),
                            plainNarration.eight.begin()));

    DialogueEngine engine(samples(0, SampleFitting::On), samples(1, SampleFitting::On));
    for (int saying = 0; saying < 2; ++saying) { // the second with the frames kept
        const Heard heard = Hear(engine, text);
        ASSERT_EQ(heard.result.status, SpeechStatus::Done) << saying;
        ASSERT_GT(heard.eight.size(), fittedNarration.eight.size()) << saying;
        EXPECT_TRUE(std::equal(fittedNarration.eight.begin(), fittedNarration.eight.end(),
                               heard.eight.begin()))
            << saying;
    }
}

TEST_F(DialogueExport, TheSampleVoicesSoundIsBroughtToTheNaturalVoicesFormat) {
    test::ScopedEnv analyzer{kAnalyzerDictionaryVariable, std::string(kDefaultAnalyzerDictionary)};
    natural::Installation installation;
    installation.voiceFolder = YOMI6_NATURAL_TEST_VOICES;
    EngineRequest narrator;
    narrator.workers = 1;
    const std::optional<EngineRequest> lines =
        DialogueRequestOf(narrator, DialogueVoice::Happy, "");
    ASSERT_TRUE(lines.has_value());
    const ChosenEngine chosen = ChooseEngine(installation, *lines);
    ASSERT_TRUE(chosen.SpeaksNaturally()) << natural::MissingText(chosen.setup);
    EXPECT_EQ(chosen.natural->style, natural::Style::Happy);
    ASSERT_EQ(chosen.pass.synthesis.outputRate, 48000);

    const std::string narration = Sjis("ねこがいった。");
    const std::string text = narration + Sjis("「やまです」");
    DialogueEngine engine(Samples(0), MakeNaturalEngine(std::nullopt, chosen.pass));
    EXPECT_EQ(engine.SampleRate(), 48000);
    EXPECT_EQ(engine.Bits(), SampleBits::Sixteen);
    EXPECT_EQ(engine.Capabilities().units, UnitKind::Mora);
    const Heard heard = Hear(engine, text);
    ASSERT_EQ(heard.result.status, SpeechStatus::Done) << heard.result.error;
    EXPECT_EQ(static_cast<std::size_t>(heard.result.frames), heard.sixteen.size());

    // The narration alone, as the sample voice says it at its own rate.
    const std::unique_ptr<SpeechEngine> alone = Samples(0);
    const Heard direct = Hear(*alone, narration);
    ASSERT_FALSE(direct.eight.empty());
    ASSERT_GE(heard.sixteen.size(), 3 * direct.eight.size());
    // Three frames for each, widened to 16 bits and resampled block by block as the whole
    // narration is at once by the band-limited resampler.
    std::vector<float> widened(direct.eight.size());
    std::transform(direct.eight.begin(), direct.eight.end(), widened.begin(),
                   [](unsigned char v) { return static_cast<float>((v - 128) * 256) / 32768.0F; });
    const std::vector<std::int16_t> whole = ToPlayerPcm(widened, kRenderRate, 48000);
    ASSERT_GE(whole.size(), 3 * direct.eight.size() - 1);
    for (std::size_t k = 0; k + 1 < 3 * direct.eight.size(); ++k) {
        ASSERT_EQ(heard.sixteen[k], whole[k]) << k;
    }
    std::string morae;
    for (std::size_t k = 0; k < heard.units.size(); ++k) {
        const SpokenUnit& unit = heard.units[k];
        // Frames at 48000 Hz and milliseconds agree within the rounding of one millisecond.
        EXPECT_NEAR(static_cast<double>(unit.startFrame) / 48.0, static_cast<double>(unit.startMs),
                    1.0)
            << k;
        if (unit.sourceBegin >= narration.size()) {
            morae += heard.names[k];
            EXPECT_GE(unit.startFrame, static_cast<std::int64_t>(3 * direct.eight.size())) << k;
        } else if (!heard.names[k].empty()) {
            EXPECT_EQ(heard.names[k].rfind("IDF_", 0), 0u) << heard.names[k];
        }
    }
    EXPECT_EQ(morae, "ヤマデス");

    // Its timings name both engines; a sample's unit gives its name where a mora's the mora.
    EXPECT_TRUE(engine.Capabilities().withTicks);
    test::TempDir dir;
    DialogueEngine again(Samples(0), MakeNaturalEngine(std::nullopt, chosen.pass));
    const ExportOutputs outputs{dir.File("d.wav"), "", dir.File("d.json")};
    ASSERT_EQ(RunExportJob(again, ExportText{text}, outputs).status, ExportStatus::Done);
    const std::string timings = test::ReadFile(dir.File("d.json"));
    EXPECT_EQ(timings.substr(0, timings.find('\n')),
              "{\"format\":\"yomi6-timings\",\"version\":2,\"engine\":\"samples+natural\","
              "\"sampleRate\":48000,\"units\":[");
    EXPECT_NE(timings.find("{\"mora\":\"IDF_"), std::string::npos);
    EXPECT_NE(timings.find("{\"mora\":\"ヤ\""), std::string::npos);
}

TEST(DialogueTimings, OneKindOfEngineKeepsItsHeadAndJoinedSamplesAndMoraeNameBoth) {
    const auto head = [](const EngineCapabilities& capabilities, int rate) {
        return TimingsHead(TimingsLayoutOf(rate, capabilities));
    };
    // The sample voices alone, and the natural voice alone (two styles joined as well).
    EXPECT_EQ(head({UnitKind::Tick, 180}, 16000),
              "{\"format\":\"yomi6-timings\",\"version\":1,\"sampleRate\":16000,\"tickMs\":180,"
              "\"units\":[\n");
    EXPECT_EQ(head({UnitKind::Mora, 0}, 48000),
              "{\"format\":\"yomi6-timings\",\"version\":2,\"engine\":\"natural\","
              "\"sampleRate\":48000,\"units\":[\n");
    EXPECT_EQ(head({UnitKind::Mora, 0, true}, 16000),
              "{\"format\":\"yomi6-timings\",\"version\":2,\"engine\":\"samples+natural\","
              "\"sampleRate\":16000,\"units\":[\n");
}

} // namespace
} // namespace yomi6
