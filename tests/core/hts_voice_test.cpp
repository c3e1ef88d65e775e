// The synthesis library without a front end: loading the voice, labels it refuses, where it
// cuts a sentence's sound into blocks, and how it reads phonemes and morae out of labels.
#include "synthesis/block_plan.h"
#include "synthesis/hts_voice.h"
#include "synthesis/mora_time.h"
#include "synthesis/synthesizer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace yomi6::synthesis {
namespace {

// Labels written by hand for a phoneme sequence, every other field left unknown ("xx"): the
// voice still says them, as its questions all answer no.
std::vector<std::string> HandLabels(const std::vector<std::string>& phonemes) {
    std::vector<std::string> labels;
    const auto at = [&](std::size_t i, int d) {
        const auto k = static_cast<std::ptrdiff_t>(i) + d;
        return k < 0 || k >= static_cast<std::ptrdiff_t>(phonemes.size())
                   ? std::string("xx")
                   : phonemes[static_cast<std::size_t>(k)];
    };
    for (std::size_t i = 0; i < phonemes.size(); ++i) {
        labels.push_back(at(i, -2) + "^" + at(i, -1) + "-" + at(i, 0) + "+" + at(i, 1) + "=" +
                         at(i, 2) + "/A:xx+xx+xx/B:xx-xx_xx/C:xx_xx+xx/D:xx+xx_xx");
    }
    return labels;
}

std::shared_ptr<const HtsVoice> TestVoice() {
    static const HtsVoice::Loaded loaded =
        HtsVoice::Load(StyleVoiceFiles(YOMI6_NATURAL_TEST_VOICES, {}));
    EXPECT_EQ(loaded.error, "");
    return loaded.voice;
}

TEST(HtsVoice, LoadsTheFourStylesOrSaysWhichFileIsWrong) {
    const auto files = StyleVoiceFiles(YOMI6_NATURAL_TEST_VOICES, {});
    EXPECT_NE(files[StyleIndex(natural::Style::Sad)].find("tohoku-f01-sad.htsvoice"),
              std::string::npos);
    const std::shared_ptr<const HtsVoice> voice = TestVoice();
    ASSERT_NE(voice, nullptr);
    EXPECT_EQ(voice->SampleRate(), 48000);
    EXPECT_EQ(voice->FramePeriod(), 240);
    EXPECT_EQ(voice->LabelFormat(), "HTS_TTS_JPN");

    auto missing = files;
    missing[StyleIndex(natural::Style::Angry)] = "";
    HtsVoice::Loaded loaded = HtsVoice::Load(missing);
    EXPECT_EQ(loaded.voice, nullptr);
    EXPECT_EQ(loaded.error, "the natural voice's file tohoku-f01-angry.htsvoice is not installed");

    auto unreadable = files;
    unreadable[1] = "/nonexistent/tohoku-f01-happy.htsvoice";
    loaded = HtsVoice::Load(unreadable);
    EXPECT_EQ(loaded.voice, nullptr);
    EXPECT_EQ(loaded.error,
              "the natural voice's file /nonexistent/tohoku-f01-happy.htsvoice cannot be read");

    // A file that is no voice: refused, never a crash.
    const std::string path = std::filesystem::temp_directory_path() / "yomi6-not-a-voice.htsvoice";
    std::ofstream(path) << "[GLOBAL]\nHTS_VOICE_VERSION:1.0\n";
    auto broken = files;
    broken[2] = path;
    loaded = HtsVoice::Load(broken);
    std::filesystem::remove(path);
    EXPECT_EQ(loaded.voice, nullptr);
    EXPECT_NE(loaded.error, "");
}

// Nothing but full-context labels reaches the engine, whose reading of a label with times goes
// through a 1024-byte buffer: a long label with times is said, a line that is no label refused.
TEST(HtsVoice, RefusesWhatIsNotALabelAndSaysLongOnes) {
    Synthesizer synthesizer(TestVoice());
    const std::vector<std::string> good = HandLabels({"sil", "k", "a", "sil"});
    Synthesis said = synthesizer.Synthesize(good, {});
    EXPECT_EQ(said.end.error, "");
    EXPECT_GT(said.pcm.size(), 4800u);

    const std::vector<std::vector<std::string>> refused{
        {},
        {good[0], "hello"},
        {good[0], ""},
        {"1^a-b+c=d/A:" + std::string(1500, '1')},
        {good[0], "xx^xx-a+xx=xx/\xe3\x81\x82"},
    };
    for (const auto& labels : refused) {
        said = synthesizer.Synthesize(labels, {});
        EXPECT_NE(said.end.error, "") << labels.size();
        EXPECT_TRUE(said.pcm.empty());
        EXPECT_TRUE(said.phonemes.empty());
    }
    EXPECT_EQ(synthesizer.Synthesize(std::vector<std::string>{good[0], "hello"}, {}).end.error,
              "label 2 is not a full-context label");

    std::vector<std::string> timed = good;
    timed[2] = "0 500000 " + timed[2] + std::string(1500, 'x');
    said = synthesizer.Synthesize(timed, {});
    EXPECT_EQ(said.end.error, "");
    EXPECT_EQ(said.phonemes[2].phoneme, "a");
}

TEST(HtsVoice, PhonemeOfALabel) {
    EXPECT_EQ(PhonemeOf("sil^ky-o+o=w/A:0+1+3"), "o");
    EXPECT_EQ(PhonemeOf("5550000 6700000 xx^sil-ky+o=o/A:0+1+3"), "ky");
    EXPECT_EQ(PhonemeOf("xx^xx-pau+xx=xx"), "pau");
    EXPECT_EQ(PhonemeOf("no label"), "");
    EXPECT_EQ(PhonemeOf("a+b-c^d"), "");
}

// The first cut comes soon after the speech starts, voiced or not; the later ones a block apart
// in unvoiced frames. A cut's cross-fade frames are all voiced or all unvoiced, and the next
// block's generator starts before the voicing of a voiced cut.
TEST(HtsVoice, BlocksAreCutWhereTheyMeetWithoutASeam) {
    std::vector<bool> voiced;
    const auto add = [&](std::size_t n, bool v) { voiced.insert(voiced.end(), n, v); };
    add(10, false); // silence before the speech
    add(30, true);
    add(3, false); // frames 40-42
    add(20, true);
    add(1, false); // frame 63: too short for a cross-fade
    add(47, true);
    add(12, false); // frames 111-122
    add(30, true);
    add(6, false); // frames 153-158
    add(5, true);
    using Cuts = std::vector<BlockCut>;
    EXPECT_EQ(PlanBlocks(voiced, 10, 5, 20),
              (Cuts{{15, 6, true}, {40, 36, false}, {111, 107, false}, {153, 149, false}}));
    EXPECT_EQ(PlanBlocks(voiced, 10, 5, 100), (Cuts{{15, 6, true}, {115, 111, false}}));
    // Not across a change of voicing; the voicing after a one-frame gap.
    EXPECT_EQ(PlanBlocks(voiced, 10, 29, 20),
              (Cuts{{40, 36, false}, {111, 107, false}, {153, 149, false}}));
    EXPECT_EQ(PlanBlocks(voiced, 10, 55, 60), (Cuts{{65, 60, true}, {153, 149, false}}));
    EXPECT_EQ(PlanBlocks(voiced, 10, 5, 0), Cuts{});
    // Voiced from the start; no unvoiced frame for a later cut.
    EXPECT_EQ(PlanBlocks(std::vector<bool>(50, true), 0, 5, 10), (Cuts{{5, -4, true}}));
    // Blocks at least as long as the cross-fade, the last one too.
    EXPECT_EQ(
        PlanBlocks(std::vector<bool>(50, false), 40, 0, 1),
        (Cuts{
            {40, 36, false}, {42, 38, false}, {44, 40, false}, {46, 42, false}, {48, 44, false}}));
}

TEST(HtsVoice, MoraeOfPhonemes) {
    std::vector<PhonemeTime> phonemes;
    std::int64_t at = 0;
    for (const char* p : {"sil", "ky", "o", "o", "N", "cl", "t", "pau", "U", "sil"}) {
        phonemes.push_back({p, at, at + 10});
        at += 10;
    }
    EXPECT_EQ(GroupMorae(phonemes), (std::vector<MoraTime>{{0, 1, 0, 10, true},
                                                           {1, 2, 10, 30, false},
                                                           {3, 1, 30, 40, false},
                                                           {4, 1, 40, 50, false},
                                                           {5, 1, 50, 60, false},
                                                           {6, 1, 60, 70, false},
                                                           {7, 1, 70, 80, true},
                                                           {8, 1, 80, 90, false},
                                                           {9, 1, 90, 100, true}}));
}

} // namespace
} // namespace yomi6::synthesis
