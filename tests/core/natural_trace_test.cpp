// Reading the engine's trace: morphemes and timed morae from real output, and no crash on a
// trace that is cut short or spoiled.
#include "natural/trace_parser.h"
#include "natural_engine_support.h"

#include <gtest/gtest.h>

namespace yomi6::natural {
namespace {

TEST(NaturalTrace, ReadsMorphemesAndMoraeOfRealOutput) {
    ASSERT_EQ(MissingPieces(test::TestSetup()), "");
    const std::string text = test::EngineTrace("今日は、晴れです。");
    ASSERT_FALSE(text.empty());
    std::string error;
    const auto trace = ParseTrace(text, &error);
    ASSERT_TRUE(trace) << error;
    ASSERT_GE(trace->morphemes.size(), 5u);
    EXPECT_EQ(trace->morphemes[0].surface, "今日");
    EXPECT_EQ(trace->morphemes[0].pronunciation, "キョー");
    EXPECT_EQ(trace->morphemes[0].morae, 2);
    EXPECT_EQ(trace->morphemes[1].pronunciation, "ワ"); // は as a particle
    EXPECT_EQ(trace->morphemes[2].surface, "、");
    EXPECT_EQ(trace->morphemes[2].morae, 0);
    // sil, キョ ー ワ, pau, ハ レ デ ス, sil: the pause of 、 is a silent unit of its own.
    std::vector<std::string> phonemes;
    for (const TimedMora& m : trace->morae) {
        phonemes.push_back(m.phonemes);
    }
    const std::vector<std::string> expected = {"sil", "ky o", "o",   "w a", "pau",
                                               "h a", "r e",  "d e", "s U", "sil"};
    EXPECT_EQ(phonemes, expected);
    EXPECT_TRUE(trace->morae.front().silent);
    EXPECT_TRUE(trace->morae[4].silent);
    EXPECT_FALSE(trace->morae[1].silent);
    EXPECT_EQ(trace->morae.front().start, 0);
    for (std::size_t k = 1; k < trace->morae.size(); ++k) {
        EXPECT_EQ(trace->morae[k].start, trace->morae[k - 1].end) << k; // back to back
        EXPECT_GT(trace->morae[k].end, trace->morae[k].start) << k;
    }
}

TEST(NaturalTrace, SplitsPronunciationsIntoMorae) {
    EXPECT_EQ(SplitMorae("キョー"), (std::vector<std::string>{"キョ", "ー"}));
    EXPECT_EQ(SplitMorae("ジュッ"), (std::vector<std::string>{"ジュ", "ッ"}));
    EXPECT_EQ(SplitMorae("ティーシャツ"), (std::vector<std::string>{"ティ", "ー", "シャ", "ツ"}));
    EXPECT_EQ(SplitMorae("ァ"), (std::vector<std::string>{"ァ"})); // nothing to join
}

// A stray byte is a unit of its own: the character after it stays whole.
TEST(NaturalTrace, SplitsAStrayByteOffAlone) {
    EXPECT_EQ(SplitMorae("\x81キャ"), (std::vector<std::string>{"\x81", "キャ"}));
    EXPECT_EQ(SplitMorae("カ\xE3\x82"), (std::vector<std::string>{"カ", "\xE3", "\x82"}));
}

TEST(NaturalTrace, RefusesSpoiledTraces) {
    const std::string good = test::EngineTrace("雨が降る。");
    ASSERT_TRUE(ParseTrace(good));
    const std::size_t labels = good.find("[Output label]");
    ASSERT_NE(labels, std::string::npos);
    // Cut anywhere, the trace is read or refused, never a crash; cut before its labels end it
    // is refused whenever a mora is left without its vowel or no label remains.
    for (std::size_t cut = 0; cut < good.size(); cut += 7) {
        std::string error;
        const auto trace = ParseTrace(good.substr(0, cut), &error);
        if (cut <= labels + 16) {
            EXPECT_FALSE(trace) << cut;
            EXPECT_FALSE(error.empty()) << cut;
        }
    }
    auto refused = [](const std::string& text) { return !ParseTrace(text).has_value(); };
    EXPECT_TRUE(refused(""));
    EXPECT_TRUE(refused("[Output label]\n0 100 xx^xx-sil+a=xx/A\n"));          // no analysis
    EXPECT_TRUE(refused("[Text analysis result]\nあ,名詞\n[Output label]\n")); // short line
    const std::string head = "[Text analysis result]\nあ,感動詞,*,*,*,*,*,あ,ア,ア,1/1,*,0\n"
                             "[Output label]\n";
    EXPECT_FALSE(refused(head + "0 10 x^x-sil+a=x/A\n10 20 x^x-a+sil=x/A\n20 30 x^x-sil+x=x/A\n"));
    EXPECT_TRUE(refused(head + "0 10 x^x-sil+a=x/A\n5 20 x^x-a+sil=x/A\n"));  // overlap
    EXPECT_TRUE(refused(head + "0 10 x^x-sil+k=x/A\n10 20 x^x-k+sil=x/A\n")); // no vowel
    EXPECT_TRUE(refused(head + "0 ten x^x-sil+a=x/A\n"));                     // no time
    EXPECT_TRUE(refused(head + "0 10 garbage\n"));                            // no phoneme
    EXPECT_TRUE(refused(head));                                               // no labels
    // Times that no sound has: negative, or so large that scaling them to frames overflowed
    // (which aborted the program, or gave negative times).
    EXPECT_TRUE(refused(head + "-10 20 x^x-sil+a=x/A\n20 30 x^x-a+sil=x/A\n"));
    EXPECT_TRUE(refused(head + "0 10 x^x-sil+a=x/A\n10 922337203685477580 x^x-a+sil=x/A\n"));
    EXPECT_TRUE(refused(head + "0 10 x^x-sil+a=x/A\n10 " + std::to_string(kMaxLabelTime + 1) +
                        " x^x-a+sil=x/A\n"));
}

} // namespace
} // namespace yomi6::natural
