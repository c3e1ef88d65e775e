// The export with the natural voice, with the real engine: the sound file holds exactly the
// pass's sound in every format, the timings give each mora its frames as the file holds them,
// the cues run from a sentence's first mora to the end of its last one, and a chunk the engine
// fails on is skipped while the export goes on.
#include "export/export_job.h"
#include "export/natural_engine.h"
#include "natural_engine_support.h"
#include "support/sjis.h"
#include "support/temp_dir.h"
#include "voice/sample_edit.h"

#include <sndfile.h>

#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>

namespace yomi6 {
namespace {

using test::ReadFile;
using test::Sjis;
using test::TempDir;

natural::NaturalPassOptions Options(unsigned workers) {
    natural::NaturalPassOptions options;
    options.synthesis.setup = natural::test::TestSetup();
    options.synthesis.outputRate = 16000;
    options.synthesis.level = BuiltInVoiceLevel();
    options.workers = workers;
    return options;
}

struct Said {
    std::vector<natural::NaturalUnit> units;
    std::vector<std::int16_t> pcm;
};

// What the pass itself says for text, chunk after chunk.
Said SayDirectly(const std::string& text) {
    natural::NaturalPass pass(text, std::nullopt, Options(2));
    Said said;
    while (auto chunk = pass.Next()) {
        said.units.insert(said.units.end(), chunk->units.begin(), chunk->units.end());
        said.pcm.insert(said.pcm.end(), chunk->pcm.begin(), chunk->pcm.end());
    }
    return said;
}

std::vector<short> Decoded(const std::string& path, SF_INFO& info) {
    info = {};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        return {};
    }
    std::vector<short> out(static_cast<std::size_t>(info.frames));
    sf_read_short(file, out.data(), info.frames);
    sf_close(file);
    return out;
}

struct TimingsEntryRead {
    std::string mora; // "" for null
    std::int64_t startMs, endMs;
    std::size_t begin, end;
};

// The unit lines of a natural timings file, read by their fixed grammar.
std::vector<TimingsEntryRead> ReadTimings(const std::string& json, std::string& head) {
    std::istringstream in(json);
    std::getline(in, head);
    const std::regex entry(
        R"re(,?\{"mora":(null|"([^"]*)"),"startMs":(\d+),"endMs":(\d+),"source":\[(\d+),(\d+)\]\},?)re");
    std::vector<TimingsEntryRead> out;
    for (std::string line; std::getline(in, line);) {
        std::smatch m;
        if (std::regex_match(line, m, entry)) {
            out.push_back(
                {m[2], std::stoll(m[3]), std::stoll(m[4]), std::stoul(m[5]), std::stoul(m[6])});
        }
    }
    return out;
}

TEST(NaturalExport, TheFilesHoldThePassAsItWasSaid) {
    TempDir dir;
    const std::string text = Sjis("雨が降る。\r\n今日は2026年です。");
    const Said said = SayDirectly(text);
    ASSERT_FALSE(said.units.empty());

    for (const char* ext : {".wav", ".flac", ".ogg", ".opus", ".mp3"}) {
        const bool lossless = std::string(ext) == ".wav" || std::string(ext) == ".flac";
        const ExportOutputs outputs{dir.File(std::string("n") + ext),
                                    lossless ? dir.File("n.vtt") : "",
                                    lossless ? dir.File("n.json") : ""};
        NaturalEngine engine(std::nullopt, Options(2));
        const ExportJobResult result = RunExportJob(engine, ExportText{text}, outputs);
        ASSERT_EQ(result.status, ExportStatus::Done) << ext << ": " << result.error;
        EXPECT_EQ(result.samples, static_cast<std::int64_t>(said.pcm.size())) << ext;
        SF_INFO info;
        const std::vector<short> back = Decoded(outputs.audio, info);
        EXPECT_EQ(info.samplerate, 16000) << ext;
        EXPECT_EQ(info.channels, 1) << ext;
        if (lossless) {
            // The very samples the engine made, 16-bit.
            EXPECT_EQ(info.format & SF_FORMAT_SUBMASK, SF_FORMAT_PCM_16) << ext;
            EXPECT_TRUE(std::equal(back.begin(), back.end(), said.pcm.begin(), said.pcm.end()))
                << ext;
        } else {
            EXPECT_GE(back.size(), said.pcm.size()) << ext;
            EXPECT_LT(back.size(), said.pcm.size() + 4096) << ext;
        }
    }

    // Every mora with its frames in milliseconds as the file holds them, and its source bytes.
    std::string head;
    const std::vector<TimingsEntryRead> timings = ReadTimings(ReadFile(dir.File("n.json")), head);
    EXPECT_EQ(head, R"({"format":"yomi6-timings","version":2,"engine":"natural",)"
                    R"("sampleRate":16000,"units":[)");
    ASSERT_EQ(timings.size(), said.units.size());
    for (std::size_t k = 0; k < timings.size(); ++k) {
        const natural::NaturalUnit& u = said.units[k];
        EXPECT_EQ(timings[k].mora, u.silent ? "" : u.mora) << k;
        EXPECT_EQ(timings[k].startMs, (u.startFrame * 1000 + 8000) / 16000) << k;
        EXPECT_EQ(timings[k].endMs, (u.endFrame * 1000 + 8000) / 16000) << k;
        EXPECT_EQ(timings[k].begin, u.source.begin) << k;
        EXPECT_EQ(timings[k].end, u.source.end) << k;
    }
    EXPECT_EQ(timings.front().mora.empty() ? timings[1].mora : timings.front().mora, "ア");

    // Two cues, each from the start of its sentence's first mora to the end of its last.
    const std::size_t second = Sjis("雨が降る。\r\n").size();
    std::int64_t firstStart = -1, firstEnd = 0, secondStart = -1, secondEnd = 0;
    for (const TimingsEntryRead& t : timings) {
        if (t.mora.empty()) {
            continue;
        }
        std::int64_t& start = t.begin < second ? firstStart : secondStart;
        std::int64_t& end = t.begin < second ? firstEnd : secondEnd;
        start = start < 0 ? t.startMs : start;
        end = t.endMs;
    }
    auto cueTime = [](std::int64_t ms) { return FormatCueTime(ms, SubtitleFormat::WebVtt); };
    EXPECT_EQ(ReadFile(dir.File("n.vtt")), "WEBVTT\n\n" + cueTime(firstStart) + " --> " +
                                               cueTime(firstEnd) + "\n雨が降る。\n\n" +
                                               cueTime(secondStart) + " --> " + cueTime(secondEnd) +
                                               "\n今日は2026年です。\n\n");
}

TEST(NaturalExport, AFailedChunkIsSkippedAndARangeCountsFromTheText) {
    TempDir dir;
    const natural::TempFolder engine;
    natural::NaturalPassOptions options = Options(2);
    options.synthesis.setup.engine = natural::test::FaultyEngine(engine.Path());
    options.synthesis.timeLimit = std::chrono::seconds(10);
    // The first sentence lies outside the range; the engine fails on the third.
    const std::string text = Sjis("外です。一つ目。ここで落ちる。二つ目。");
    const std::size_t from = Sjis("外です。").size();
    std::vector<std::string> messages;
    NaturalEngine voice(std::nullopt, options,
                        [&](const std::string& m) { messages.push_back(m); });
    const ExportOutputs outputs{dir.File("f.wav"), dir.File("f.srt"), dir.File("f.json")};
    std::vector<std::size_t> progress;
    const ExportJobResult result = RunExportJob(voice, ExportText{text, from, text.size()}, outputs,
                                                [&](std::size_t done, std::size_t total) {
                                                    EXPECT_EQ(total, text.size() - from);
                                                    progress.push_back(done);
                                                    return true;
                                                });
    ASSERT_EQ(result.status, ExportStatus::Done) << result.error;
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("signal 6"), std::string::npos) << messages[0];
    const std::string srt = ReadFile(dir.File("f.srt"));
    EXPECT_NE(srt.find("1\n"), std::string::npos);
    EXPECT_NE(srt.find("一つ目。"), std::string::npos) << srt;
    EXPECT_NE(srt.find("二つ目。"), std::string::npos) << srt;
    EXPECT_EQ(srt.find("落ちる"), std::string::npos) << srt;
    EXPECT_EQ(srt.find("外"), std::string::npos) << srt;
    std::string head;
    for (const TimingsEntryRead& t : ReadTimings(ReadFile(dir.File("f.json")), head)) {
        EXPECT_GE(t.begin, from);
        EXPECT_LE(t.end, text.size());
    }
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), text.size() - from);

    // A cancel leaves no file.
    TempDir none;
    NaturalEngine cancelled(std::nullopt, Options(1));
    const ExportJobResult stopped = RunExportJob(
        cancelled, ExportText{text}, {none.File("c.flac"), none.File("c.vtt"), none.File("c.json")},
        [](std::size_t done, std::size_t) { return done == 0; });
    EXPECT_EQ(stopped.status, ExportStatus::Stopped);
    EXPECT_TRUE(std::filesystem::is_empty(none.path()));
}

} // namespace
} // namespace yomi6
