// The natural pass with the real engine: chunks in text order on one clock, the sound levelled
// to the sample voices, and a chunk the engine fails on skipped with one message.
#include "natural/natural_pass.h"
#include "natural_engine_support.h"
#include "support/scoped_env.h"
#include "text/cp932_codec.h"
#include "voice/sample_edit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <fstream>
#include <mutex>
#include <sys/stat.h>
#include <thread>

namespace yomi6::natural {
namespace {

using test::Sjis;
using namespace std::chrono_literals;

NaturalPassOptions Options(unsigned workers) {
    NaturalPassOptions options;
    options.synthesis.setup = test::TestSetup();
    options.synthesis.outputRate = 16000;
    options.synthesis.level = BuiltInVoiceLevel();
    options.workers = workers;
    return options;
}

TEST(NaturalPass, ChunksInOrderOnOneClockAndLevelledToTheSamples) {
    const std::string text = Sjis(u"雨が降る。\r\n風が吹く、そして晴れる。短い。最後の文です。");
    for (const unsigned workers : {1u, 2u}) {
        NaturalPass pass(text, std::nullopt, Options(workers));
        ASSERT_EQ(pass.Chunks().size(), 4u);
        std::int64_t clock = 0;
        std::size_t count = 0;
        std::vector<std::int16_t> all;
        while (auto chunk = pass.Next()) {
            EXPECT_EQ(chunk->source, pass.Chunks()[count]) << workers;
            EXPECT_EQ(chunk->startFrame, clock);
            ASSERT_FALSE(chunk->units.empty());
            EXPECT_EQ(chunk->units.front().startFrame, clock);
            for (const NaturalUnit& u : chunk->units) {
                EXPECT_GE(u.source.begin, chunk->source.begin);
                EXPECT_LE(u.source.end, chunk->source.end);
                EXPECT_LE(u.endFrame, clock + static_cast<std::int64_t>(chunk->pcm.size()));
            }
            clock += static_cast<std::int64_t>(chunk->pcm.size());
            all.insert(all.end(), chunk->pcm.begin(), chunk->pcm.end());
            ++count;
        }
        EXPECT_EQ(count, 4u);
        // Active loudness within 2 dB of the sample voices'.
        const double db = 20 * std::log10(VoicedRms(all, 16000) / BuiltInVoiceLevel());
        EXPECT_LT(std::abs(db), 2.0) << db;
    }
}

TEST(NaturalPass, AChunkWithNothingToSayIsPassedOverWithoutAMessage) {
    // ★★ alone makes the engine fail with "No phoneme": nothing to say, not a failure. The
    // bytes 0x80 0xA0 are no characters at all and never reach the engine.
    const std::string text = Sjis(u"★★\r\n") + "\x80\xA0\r\n" + Sjis(u"はい。");
    std::vector<std::string> messages;
    NaturalPass pass(text, std::nullopt, Options(1),
                     [&](const std::string& m) { messages.push_back(m); });
    ASSERT_EQ(pass.Chunks().size(), 3u);
    const auto chunk = pass.Next();
    ASSERT_TRUE(chunk);
    EXPECT_EQ(chunk->source, pass.Chunks()[2]);
    EXPECT_EQ(chunk->startFrame, 0);
    EXPECT_FALSE(pass.Next());
    EXPECT_TRUE(messages.empty()) << messages.front();
}

TEST(NaturalPass, SilenceAroundAChunkIsCutToAPause) {
    const std::string text = Sjis(u"はい。");
    NaturalPass pass(text, std::nullopt, Options(1));
    const auto chunk = pass.Next();
    ASSERT_TRUE(chunk);
    const NaturalUnit& first = chunk->units.front();
    const NaturalUnit& last = chunk->units.back();
    ASSERT_TRUE(first.silent);
    ASSERT_TRUE(last.silent);
    // 60 ms before the voice (960 frames at 16 kHz), 300 ms after it.
    EXPECT_EQ(first.endFrame - first.startFrame, 960);
    EXPECT_EQ(last.endFrame - last.startFrame, 4800);
    EXPECT_EQ(last.endFrame, static_cast<std::int64_t>(chunk->pcm.size()));
}

TEST(NaturalPass, AReadingHeardLiveStartsShortAndPausesBrieflyWhereItsFirstChunkWasCut) {
    // A reading heard live keeps 15 ms before its first sound; the sentences after it keep
    // their 60 ms pause, and every time stays on the clock of the sound handed out.
    const std::string text = Sjis(u"はい。雨が降る。");
    NaturalPassOptions options = Options(1);
    options.firstLeadSilenceMs = 15;
    NaturalPass pass(text, std::nullopt, options);
    NaturalPass plain(text, std::nullopt, Options(1));
    const auto first = pass.Next();
    const auto plainFirst = plain.Next();
    ASSERT_TRUE(first && plainFirst);
    const auto lead = [](const PassChunk& c) {
        return c.units.front().endFrame - c.units.front().startFrame;
    };
    EXPECT_EQ(lead(*first), 240);
    EXPECT_EQ(lead(*plainFirst), 960);
    // The same speech, 720 frames sooner.
    ASSERT_EQ(first->pcm.size() + 720, plainFirst->pcm.size());
    EXPECT_TRUE(std::equal(first->pcm.begin(), first->pcm.end(), plainFirst->pcm.begin() + 720));
    const auto second = pass.Next();
    ASSERT_TRUE(second);
    EXPECT_EQ(second->startFrame, static_cast<std::int64_t>(first->pcm.size()));
    EXPECT_EQ(lead(*second), 960);

    // A first chunk cut after its particle ends in a short pause (100 ms), the sentence's own
    // pause after the chunk that ends it (300 ms).
    NaturalPassOptions live = Options(1);
    live.chunks.firstAtParticle = true;
    NaturalPass cut(Sjis(u"今日は雨が降る。"), std::nullopt, live);
    const auto tail = [](const PassChunk& c) {
        return c.units.back().endFrame - c.units.back().startFrame;
    };
    const auto word = cut.Next();
    const auto rest = cut.Next();
    ASSERT_TRUE(word && rest);
    ASSERT_TRUE(word->units.back().silent);
    EXPECT_EQ(tail(*word), 1600);
    EXPECT_EQ(tail(*rest), 4800);
    EXPECT_EQ(rest->startFrame, static_cast<std::int64_t>(word->pcm.size()));
}

TEST(NaturalPass, AFailedChunkIsSkippedWithOneMessage) {
    const TempFolder folder;
    NaturalPassOptions options = Options(2);
    options.synthesis.setup.engine = test::FaultyEngine(folder.Path());
    options.synthesis.timeLimit = std::chrono::seconds(10); // ample for a healthy chunk under load
    const std::string text = Sjis(u"一つ目。ここで落ちる。二つ目。ここで止まる。三つ目。");
    std::vector<std::string> messages;
    NaturalPass pass(text, std::nullopt, options,
                     [&](const std::string& m) { messages.push_back(m); });
    std::vector<ByteRange> said;
    while (auto chunk = pass.Next()) {
        said.push_back(chunk->source);
    }
    const auto& chunks = pass.Chunks();
    ASSERT_EQ(chunks.size(), 5u);
    EXPECT_EQ(said, (std::vector<ByteRange>{chunks[0], chunks[2], chunks[4]}));
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_NE(messages[0].find("signal 6"), std::string::npos) << messages[0];
    EXPECT_NE(messages[1].find("time limit"), std::string::npos) << messages[1];
}

TEST(NaturalPass, TryNextNeverWaitsAndHandsOutWhatNextWould) {
    // A consumer that must not wait takes each chunk when the pass says one is ready: the
    // same chunks on the same clock as Next gives, the failed one skipped with its message,
    // and the end said by ended.
    const TempFolder folder;
    NaturalPassOptions options = Options(2);
    options.synthesis.setup.engine = test::FaultyEngine(folder.Path());
    const std::string text = Sjis(u"一つ目。ここで落ちる。二つ目です。");
    std::mutex mutex;
    std::condition_variable changed;
    int ready = 0;
    std::vector<std::string> messages;
    NaturalPass pass(
        text, std::nullopt, options, [&](const std::string& m) { messages.push_back(m); },
        [&] {
            const std::lock_guard lock(mutex);
            ++ready;
            changed.notify_all();
        });
    // Starting the engine alone takes longer than this call: nothing is said yet.
    const NaturalPass::Taken first = pass.TryNext();
    EXPECT_FALSE(first.chunk);
    EXPECT_FALSE(first.ended);
    std::vector<ByteRange> said;
    std::int64_t clock = 0;
    int seen = 0;
    for (;;) {
        NaturalPass::Taken taken = pass.TryNext();
        if (taken.ended) {
            break;
        }
        if (!taken.chunk) {
            std::unique_lock lock(mutex);
            ASSERT_TRUE(
                changed.wait_for(lock, std::chrono::seconds(60), [&] { return ready > seen; }));
            seen = ready;
            continue;
        }
        EXPECT_EQ(taken.chunk->startFrame, clock);
        clock += static_cast<std::int64_t>(taken.chunk->pcm.size());
        said.push_back(taken.chunk->source);
    }
    const auto& chunks = pass.Chunks();
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(said, (std::vector<ByteRange>{chunks[0], chunks[2]}));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("signal 6"), std::string::npos) << messages[0];
    const std::lock_guard lock(mutex);
    EXPECT_EQ(ready, 3); // once for each chunk, the failed one too
}

TEST(NaturalPass, FailuresThatRepeatStopThePassWithOneCause) {
    const TempFolder folder;
    const std::u16string sentences = u"一つ目。二つ目。三つ目。四つ目。五つ目。六つ目。";
    // No folder for the engine's files: not one line per sentence, one cause, and the pass
    // ends.
    {
        const yomi6::test::ScopedEnv tmpdir("TMPDIR", folder.File("none"));
        std::vector<std::string> messages;
        NaturalPass pass(Sjis(sentences), std::nullopt, Options(2),
                         [&](const std::string& m) { messages.push_back(m); });
        EXPECT_FALSE(pass.Next());
        EXPECT_TRUE(messages.empty());
        EXPECT_EQ(
            pass.Failure().rfind("stopped: 3 sentences in a row could not be said (bytes 0-", 0),
            0u)
            << pass.Failure();
        EXPECT_NE(pass.Failure().find(folder.File("none") + ": No such file or directory"),
                  std::string::npos)
            << pass.Failure();
    }
    // A text of which no sentence could be said, shorter than that.
    NaturalPassOptions options = Options(2);
    options.synthesis.setup.engine = test::FaultyEngine(folder.Path());
    NaturalPass fallen(Sjis(u"ここで落ちる。また落ちる。"), std::nullopt, options);
    EXPECT_FALSE(fallen.Next());
    EXPECT_EQ(fallen.Failure().rfind("no sentence could be said (bytes 0-", 0), 0u)
        << fallen.Failure();
    // After a sentence that was said, three failures in a row stop the pass too.
    NaturalPass broken(Sjis(u"一つ目。落ちる。落ちる。落ちる。二つ目。"), std::nullopt, options);
    EXPECT_TRUE(broken.Next());
    EXPECT_FALSE(broken.Next());
    EXPECT_NE(broken.Failure().find("3 sentences in a row"), std::string::npos) << broken.Failure();
}

TEST(NaturalPass, AHungEngineStopsThePassAfterRepeatedTimeOuts) {
    const TempFolder folder;
    NaturalPassOptions options = Options(2);
    options.synthesis.setup.engine = test::FaultyEngine(folder.Path());
    options.synthesis.timeLimit = 300ms;
    // The time-outs need not follow each other: each costs the whole limit.
    std::vector<std::string> messages;
    NaturalPass pass(Sjis(u"止まる。一つ目。止まる。二つ目。止まる。三つ目。四つ目。"),
                     std::nullopt, options, [&](const std::string& m) { messages.push_back(m); });
    while (pass.Next()) {
    }
    EXPECT_EQ(pass.Failure().rfind("stopped: the engine ran past its time limit of 300 ms on 3 "
                                   "sentences, the last at bytes ",
                                   0),
              0u)
        << pass.Failure();
    EXPECT_LE(messages.size(), 2u); // the time-outs before were skipped as sentences are
}

TEST(NaturalPass, StopEndsAnEngineThatHangs) {
    // The pass's end waits for no engine: a reading stopped while its engine hangs ends at once,
    // not at the time limit.
    const TempFolder folder;
    NaturalPassOptions options = Options(2);
    options.synthesis.setup.engine = test::FaultyEngine(folder.Path());
    options.synthesis.timeLimit = 60s;
    const auto started = std::chrono::steady_clock::now();
    {
        NaturalPass pass(Sjis(u"ここで止まる。"), std::nullopt, options);
        std::this_thread::sleep_for(500ms);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, 20s);
}

TEST(NaturalPass, StopEndsThePassAtOnce) {
    std::u16string many;
    for (int k = 0; k < 40; ++k) {
        many += u"これは長い文章の一つです。";
    }
    NaturalPass pass(Sjis(many), std::nullopt, Options(2));
    ASSERT_TRUE(pass.Next());
    pass.Stop();
    EXPECT_FALSE(pass.Next());
    // The destructor joins the workers: at most the chunks already started are finished.
}

} // namespace
} // namespace yomi6::natural
