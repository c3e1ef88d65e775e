// The engine interface: its clients against a scripted stand-in engine (the files of an export,
// a stop at each boundary asked for from another thread), and both real engines keeping to it.
#include "export/export_job.h"
#include "export/natural_engine.h"
#include "export/sample_engine.h"
#include "natural_engine_support.h"
#include "support/sjis.h"
#include "support/temp_dir.h"
#include "support/test_engine.h"
#include "support/test_reading.h"

#include <sndfile.h>

#include <chrono>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>

namespace yomi6 {
namespace {

using test::ScriptedUnit;
using test::Sjis;
using test::TempDir;
using test::TestEngine;

// あめ。かぜ。 as two sentences of two morae and a pause each, 5200 frames in blocks of 700.
std::vector<ScriptedUnit> Script() {
    return {{"ア", 0, 2, 0, 1000, true},      {"メ", 2, 4, 1000, 2000, false},
            {"", 4, 6, 2000, 2500, false},    {"カ", 6, 8, 2500, 3500, true},
            {"ゼ", 8, 10, 3500, 4500, false}, {"", 10, 12, 4500, 5000, false}};
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// What a sink was handed: the units and the samples, in order.
struct Heard {
    std::vector<std::string> says;
    std::vector<std::int16_t> pcm;
    EngineSink Sink() {
        EngineSink sink;
        sink.onBlock = [this](const SoundBlock& block) {
            for (const SpokenUnit& u : block.units) {
                says.emplace_back(u.says);
            }
            pcm.insert(pcm.end(), block.sixteen, block.sixteen + block.count);
            return true;
        };
        return sink;
    }
};

TEST(SpeechEngine, AnExportWritesTheEnginesBlocksAndUnits) {
    TempDir dir;
    const std::string text = Sjis("あめ。かぜ。");
    TestEngine engine(Script(), 5200, 700);
    const ExportOutputs outputs{dir.File("s.wav"), dir.File("s.vtt"), dir.File("s.json")};
    const ExportJobResult result = RunExportJob(engine, ExportText{text}, outputs);
    ASSERT_EQ(result.status, ExportStatus::Done) << result.error;
    EXPECT_EQ(result.samples, 5200);

    SF_INFO info{};
    SNDFILE* file = sf_open(outputs.audio.c_str(), SFM_READ, &info);
    ASSERT_NE(file, nullptr);
    std::vector<short> back(static_cast<std::size_t>(info.frames));
    sf_read_short(file, back.data(), info.frames);
    sf_close(file);
    ASSERT_EQ(back.size(), 5200u);
    for (std::size_t f = 0; f < back.size(); f += 97) {
        ASSERT_EQ(back[f], TestEngine::SampleAt(static_cast<std::int64_t>(f))) << f;
    }
    EXPECT_EQ(ReadFile(outputs.subtitles), "WEBVTT\n\n00:00:00.000 --> 00:00:00.125\nあめ。\n\n"
                                           "00:00:00.156 --> 00:00:00.281\nかぜ。\n\n");
    const std::string json = ReadFile(outputs.timings);
    EXPECT_NE(json.find(R"({"mora":"メ","startMs":63,"endMs":125,"source":[2,4]})"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find(R"({"mora":null,"startMs":281,"endMs":313,"source":[10,12]})"),
              std::string::npos)
        << json;
}

TEST(SpeechEngine, AStopFromAnotherThreadEndsAtItsBoundary) {
    struct Case {
        StopAt at;
        std::vector<std::string> says;
        std::size_t frames;
    };
    // Asked for before the third block (frames 1400 to 2100): at once the sound ends with the
    // second block; after the unit, at the end of メ, the last unit handed over; after the
    // sentence, at the end of its pause, which the third block carries.
    const Case cases[] = {{StopAt::Now, {"ア", "メ"}, 1400},
                          {StopAt::AfterUnit, {"ア", "メ"}, 2000},
                          {StopAt::AfterSentence, {"ア", "メ", ""}, 2500}};
    for (const Case& c : cases) {
        TestEngine engine(Script(), 5200, 700);
        engine.beforeBlock = [&](std::size_t block) {
            if (block == 2) {
                std::thread([&] { engine.Stop(c.at); }).join();
            }
        };
        Heard heard;
        const EngineResult result = engine.Say(EngineText{}, heard.Sink());
        const auto at = static_cast<int>(c.at);
        EXPECT_EQ(result.status, SpeechStatus::Stopped) << at;
        EXPECT_EQ(heard.says, c.says) << at;
        ASSERT_EQ(heard.pcm.size(), c.frames) << at;
        EXPECT_EQ(result.frames, static_cast<std::int64_t>(c.frames)) << at;
        EXPECT_EQ(heard.pcm.back(), TestEngine::SampleAt(static_cast<std::int64_t>(c.frames) - 1))
            << at;
    }
}

TEST(SpeechEngine, AStopBeforeTheSayingStopsItAndTheNearestBoundaryWins) {
    TestEngine engine(Script(), 5200, 700);
    engine.Stop(StopAt::AfterSentence);
    engine.Stop(StopAt::Now);
    engine.Stop(StopAt::AfterUnit);
    Heard stopped;
    EXPECT_EQ(engine.Say(EngineText{}, stopped.Sink()).status, SpeechStatus::Stopped);
    EXPECT_TRUE(stopped.says.empty());
    EXPECT_TRUE(stopped.pcm.empty());
    // The stop was that saying's: the next one is whole.
    Heard whole;
    EXPECT_EQ(engine.Say(EngineText{}, whole.Sink()).status, SpeechStatus::Done);
    EXPECT_EQ(whole.says.size(), 6u);
    EXPECT_EQ(whole.pcm.size(), 5200u);
}

TEST(SpeechEngine, TheSampleEnginesBlocksCarryTheTicksThatStartInThem) {
    test::TestReading run;
    const std::string text = Sjis("あめがふる。\r\nかぜがふく。");
    const std::size_t second = Sjis("あめがふる。\r\n").size();
    ExportRequest request(run.Setup());
    SampleEngine engine(request);
    std::vector<SpokenUnit> units;
    std::int64_t frames = 0;
    EngineSink sink;
    sink.onBlock = [&](const SoundBlock& block) {
        EXPECT_EQ(block.startFrame, frames);
        for (const SpokenUnit& u : block.units) {
            EXPECT_GE(u.startFrame, block.startFrame) << u.index;
            // Only the last block may carry units past its end (after the sound).
            if (block.count > 0) {
                EXPECT_LT(u.startFrame, block.startFrame + static_cast<std::int64_t>(block.count))
                    << u.index;
            }
            units.push_back(u);
        }
        frames += static_cast<std::int64_t>(block.count);
        return true;
    };
    const EngineResult said = engine.Say(EngineText{text}, sink);
    ASSERT_EQ(said.status, SpeechStatus::Done);
    EXPECT_EQ(said.frames, frames);
    ASSERT_EQ(units.size(), 12u);
    for (const SpokenUnit& u : units) {
        EXPECT_EQ(u.startsSentence, u.sourceBegin == 0 || u.sourceBegin == second) << u.sourceBegin;
    }

    // Stopped after the sentence within the first one: its units, its sound to its last tick's
    // end.
    std::vector<SpokenUnit> first;
    frames = 0;
    sink.onBlock = [&](const SoundBlock& block) {
        engine.Stop(StopAt::AfterSentence);
        first.insert(first.end(), block.units.begin(), block.units.end());
        frames += static_cast<std::int64_t>(block.count);
        return true;
    };
    EXPECT_EQ(engine.Say(EngineText{text}, sink).status, SpeechStatus::Stopped);
    ASSERT_EQ(first.size(), 6u);
    EXPECT_LT(first.back().sourceBegin, second);
    EXPECT_EQ(frames, first.back().endFrame);
}

TEST(SpeechEngine, AStopAtOnceEndsTheNaturalVoiceWhileItsEngineRuns) {
    const natural::TempFolder folder;
    natural::NaturalPassOptions options;
    options.synthesis.setup = natural::test::TestSetup();
    options.synthesis.setup.engine = natural::test::FaultyEngine(folder.Path());
    options.synthesis.timeLimit = std::chrono::seconds(60);
    NaturalEngine engine(std::nullopt, options);
    const std::string text = Sjis("ここで止まる。");
    EngineResult result;
    const auto start = std::chrono::steady_clock::now();
    std::thread saying([&] { result = engine.Say(EngineText{text}, EngineSink{}); });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    engine.Stop(StopAt::Now);
    saying.join();
    EXPECT_EQ(result.status, SpeechStatus::Stopped) << result.error;
    // Far sooner than the engine's time limit, which a stop that waited for it would take.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
}

} // namespace
} // namespace yomi6
