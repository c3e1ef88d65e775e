// The natural voice said in our own process, as every client gets it (ChooseEngine, then
// MakeNaturalEngine): it speaks without the engine program and starts no process, at the
// voice's own 48000 Hz, says our reading (a user's word as registered, Aozora notation silent
// and a ruby's base as its ruby), and a stop at once from another thread ends the synthesis
// under way. The automatic reading's analyzer is pinned to IPADIC, installed with the program.
#include "analysis/analyzer_loader.h"
#include "analysis/mecab_analyzer.h"
#include "engine/engine_choice.h"
#include "export/engine_factory.h"
#include "export/voice_cache.h"
#include "natural/engine_setup.h"
#include "natural_engine_support.h"
#include "support/scoped_env.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <future>
#include <mutex>
#include <thread>

namespace yomi6 {
namespace {

using natural::test::Sjis;
using natural::test::Utf8Of;

// The children of this process now, from every thread's list.
std::size_t ChildProcesses() {
    std::size_t children = 0;
    DIR* tasks = ::opendir("/proc/self/task");
    if (tasks == nullptr) {
        return 0;
    }
    while (const dirent* task = ::readdir(tasks)) {
        if (task->d_name[0] == '.') {
            continue;
        }
        std::ifstream list(std::string("/proc/self/task/") + task->d_name + "/children");
        std::string pid;
        while (list >> pid) {
            ++children;
        }
    }
    ::closedir(tasks);
    return children;
}

// A user dictionary of one row: 本日 read as ｱｼﾀ.
struct Tomorrow {
    static int Match(const unsigned char* text) {
        return std::strncmp(reinterpret_cast<const char*>(text), "\x96\x7B\x93\xFA", 4) == 0 ? 0
                                                                                             : -1;
    }
};

struct Heard {
    std::string morae;               // the spoken units' morae, joined
    std::vector<std::string> source; // the source (UTF-8) of each spoken unit
    EngineResult result;
    std::size_t mostChildren = 0;
};

class NaturalVoice : public ::testing::Test {
protected:
    yomi6::test::ScopedEnv m_analyzer{kAnalyzerDictionaryVariable,
                                      std::string(kDefaultAnalyzerDictionary)};

    // The natural voice as the one choice sets it up, the engine program nowhere.
    static natural::NaturalPassOptions Chosen(unsigned workers = 2) {
        natural::Installation installation;
        installation.voiceFolder = YOMI6_NATURAL_TEST_VOICES;
        installation.engine = "/nonexistent/open_jtalk";
        EngineRequest request;
        request.naturalAsked = true;
        request.workers = workers;
        const ChosenEngine chosen = ChooseEngine(installation, request);
        EXPECT_TRUE(chosen.SpeaksNaturally()) << natural::MissingText(chosen.setup);
        return chosen.pass;
    }

    static Heard Hear(SpeechEngine& engine, const std::string& text) {
        Heard heard;
        EngineSink sink;
        sink.onBlock = [&](const SoundBlock& block) {
            heard.mostChildren = std::max(heard.mostChildren, ChildProcesses());
            for (const SpokenUnit& u : block.units) {
                if (!u.says.empty()) {
                    heard.morae += u.says;
                    heard.source.push_back(Utf8Of(
                        std::string_view(text).substr(u.sourceBegin, u.sourceEnd - u.sourceBegin)));
                }
            }
            return true;
        };
        heard.result = engine.Say(EngineText{text}, sink);
        return heard;
    }
};

TEST_F(NaturalVoice, SpeaksAtTheVoicesRateWithoutAnyProcess) {
    natural::NaturalPassOptions options = Chosen();
    ASSERT_EQ(options.synthesis.outputRate, 48000);
    const std::unique_ptr<SpeechEngine> engine = MakeNaturalEngine(std::nullopt, options);
    EXPECT_EQ(engine->SampleRate(), 48000);
    EXPECT_EQ(engine->Capabilities().units, UnitKind::Mora);
    const std::string text = Sjis(u"今日は良い天気ですね。明日は雨でしょう。");
    const Heard heard = Hear(*engine, text);
    ASSERT_EQ(heard.result.status, SpeechStatus::Done) << heard.result.error;
    EXPECT_EQ(heard.morae, "キョーワヨイテンキデスネアシタワアメデショー");
    EXPECT_EQ(heard.mostChildren, 0u);
    // Two short sentences: between one and eight seconds at 48000 Hz.
    EXPECT_GT(heard.result.frames, 48000);
    EXPECT_LT(heard.result.frames, 8 * 48000);
}

TEST_F(NaturalVoice, SaysOurReading) {
    // A user's word as registered, its morae given its source.
    static const std::array<char, kWordSlotSize> word{"\x96\x7B\x93\xFA"};
    static const std::array<char, kYomiSlotSize> reading{"\xB1\xBC\xC0"};
    const DictionaryView dic(reinterpret_cast<const char(*)[kWordSlotSize]>(word.data()),
                             reinterpret_cast<const char(*)[kYomiSlotSize]>(reading.data()),
                             &Tomorrow::Match, &Tomorrow::Match);
    const std::string registered = Sjis(u"本日は晴れです。");
    const Heard user = Hear(*MakeNaturalEngine(dic, Chosen()), registered);
    ASSERT_EQ(user.result.status, SpeechStatus::Done) << user.result.error;
    EXPECT_EQ(user.morae, "アシタワハレデス");
    ASSERT_GE(user.source.size(), 3u);
    EXPECT_EQ(user.source[0], "本日");
    // Aozora notation is not said; a ruby's base is said as its ruby.
    natural::NaturalPassOptions options = Chosen();
    options.aozora = true;
    const std::string aozora = Sjis(u"猫《いぬ》が鳴く。［＃「鳴く」に傍点］");
    const Heard notation = Hear(*MakeNaturalEngine(std::nullopt, options), aozora);
    ASSERT_EQ(notation.result.status, SpeechStatus::Done) << notation.result.error;
    EXPECT_EQ(notation.morae, "イヌガナク");
    ASSERT_GE(notation.source.size(), 2u);
    EXPECT_EQ(notation.source[0], "猫");
    // A ruby's おう is said as the long vowel it is.
    const Heard king =
        Hear(*MakeNaturalEngine(std::nullopt, options), Sjis(u"王《おう》様が来た。"));
    EXPECT_EQ(king.morae, "オーサマガキタ");
    // Letters spelled as the reading spells them, each mora from its own letter.
    const Heard letters = Hear(*MakeNaturalEngine(std::nullopt, Chosen()), "abc");
    ASSERT_EQ(letters.result.status, SpeechStatus::Done) << letters.result.error;
    EXPECT_EQ(letters.morae, "エービーシー");
    EXPECT_EQ(letters.source, (std::vector<std::string>{"a", "a", "b", "b", "c", "c"}));
}

TEST_F(NaturalVoice, AStopAtOnceFromAnotherThreadEndsTheSynthesisUnderWay) {
    const std::unique_ptr<SpeechEngine> engine = MakeNaturalEngine(std::nullopt, Chosen(1));
    std::string text;
    for (int k = 0; k < 6; ++k) {
        text += Sjis(u"吾輩は猫である、名前はまだ無いが、どこで生れたかとんと見当がつかぬ。");
    }
    std::mutex mutex;
    std::condition_variable first;
    bool heardFirst = false;
    std::atomic<bool> stopped{false};
    std::atomic<int> blocksAfterStop{0};
    std::int64_t framesHanded = 0;
    EngineSink sink;
    sink.onBlock = [&](const SoundBlock& block) {
        if (stopped) {
            ++blocksAfterStop;
        }
        framesHanded += static_cast<std::int64_t>(block.count);
        const std::lock_guard lock(mutex);
        heardFirst = true;
        first.notify_all();
        return true;
    };
    std::thread stopper([&] {
        std::unique_lock lock(mutex);
        first.wait(lock, [&] { return heardFirst; });
        lock.unlock();
        engine->Stop(StopAt::Now);
        stopped = true;
    });
    const EngineResult result = engine->Say(EngineText{text}, sink);
    stopper.join();
    EXPECT_EQ(result.status, SpeechStatus::Stopped);
    EXPECT_EQ(blocksAfterStop, 0);
    // Six sentences of some five seconds each: far from all of it was made.
    EXPECT_LT(framesHanded, 3 * 5 * 48000);
}

TEST_F(NaturalVoice, OneCacheLoadsTheStylesOfAFolderOnceAndEnginesSayWithIt) {
    NaturalVoiceCache cache;
    natural::NaturalPassOptions neutral = Chosen();
    cache.Prepare(neutral);
    const std::shared_ptr<VoiceLoad> load = cache.Voice(neutral);
    // Another style of the same folder is the same voice, not a second loading.
    natural::NaturalPassOptions happy = neutral;
    happy.synthesis.setup.voiceFile =
        (std::filesystem::path(neutral.synthesis.setup.voiceFile).parent_path() /
         natural::VoiceFileName(natural::Style::Happy))
            .string();
    EXPECT_EQ(cache.Voice(happy), load);
    const Heard heard = Hear(*MakeNaturalEngine(load, std::nullopt, happy), Sjis(u"山です。"));
    ASSERT_EQ(heard.result.status, SpeechStatus::Done) << heard.result.error;
    EXPECT_EQ(heard.morae, "ヤマデス");
    EXPECT_TRUE(load->Ready());
    // Another folder is another loading, whose failure the engine reports.
    natural::NaturalPassOptions elsewhere = neutral;
    elsewhere.synthesis.setup.voiceFile = "/nonexistent/voice/neutral.htsvoice";
    const std::shared_ptr<VoiceLoad> missing = cache.Voice(elsewhere);
    EXPECT_NE(missing, load);
    const Heard none = Hear(*MakeNaturalEngine(missing, std::nullopt, elsewhere), "a");
    EXPECT_EQ(none.result.status, SpeechStatus::Failed);
}

TEST_F(NaturalVoice, AStopEndsTheWaitForAVoiceStillLoading) {
    std::promise<void> gate;
    std::shared_future<void> opened = gate.get_future().share();
    const natural::NaturalPassOptions options = Chosen();
    auto load = std::make_shared<VoiceLoad>([opened, options] {
        opened.wait(); // a loading that lasts until the test lets it end
        return LoadNaturalVoice(options);
    });
    const std::unique_ptr<SpeechEngine> engine = MakeNaturalEngine(load, std::nullopt, options);
    EngineSink sink;
    sink.onBlock = [](const SoundBlock&) { return true; };
    std::future<EngineResult> said = std::async(
        std::launch::async, [&] { return engine->Say(EngineText{Sjis(u"山です。")}, sink); });
    // Waiting, not yet loaded: a stop from this thread wakes the saying, which ends stopped.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    engine->Stop(StopAt::Now);
    const bool ended = said.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
    EXPECT_TRUE(ended) << "the saying still waits for the voice after a stop";
    EXPECT_FALSE(load->Ready());
    gate.set_value();
    EXPECT_EQ(said.get().status, SpeechStatus::Stopped);
}

} // namespace
} // namespace yomi6
