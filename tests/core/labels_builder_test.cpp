// The labels themselves: every field of a sentence with a pause, devoicing and a question
// against the labels of the voice's own front end (open_jtalk 1.11's trace, Debian 12), the
// breath groups, long vowels and questions of hand-made words, and the source bytes of the
// words the labeler reads.
#include "analysis/mecab_analyzer.h"
#include "labels/label_builder.h"
#include "labels/labeler.h"
#include "labels/mora_table.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace yomi6::labels {
namespace {

constexpr const char* kOpenJTalkDictionary = "/var/lib/mecab/dic/open-jtalk/naist-jdic";

std::unique_ptr<Analyzer> OpenJTalkAnalyzer() {
    if (::access((std::string(kOpenJTalkDictionary) + "/sys.dic").c_str(), R_OK) != 0) {
        return nullptr;
    }
    std::string error;
    return OpenMecabAnalyzer(kOpenJTalkDictionary, error);
}

LabelWord Word(std::string pos, std::string pron, int accent, int chain) {
    LabelWord w;
    w.pos = std::move(pos);
    w.pronunciation = std::move(pron);
    w.moraCount = CountMorae(w.pronunciation);
    w.accent = accent;
    w.chain = chain;
    return w;
}

// The field of a label between "/X:" and the next "/".
std::string Field(const std::string& label, char name) {
    const std::size_t at = label.find(std::string("/") + name + ":");
    if (at == std::string::npos) {
        return "";
    }
    const std::size_t end = label.find('/', at + 3);
    return label.substr(at + 3, end == std::string::npos ? std::string::npos : end - at - 3);
}

TEST(LabelerTest, SameLabelsAsTheVoicesFrontEnd) {
    const std::unique_ptr<Analyzer> analyzer = OpenJTalkAnalyzer();
    if (analyzer == nullptr) {
        GTEST_SKIP() << "the Open JTalk dictionary (open-jtalk-mecab-naist-jdic) is not installed";
    }
    Labeler labeler(*analyzer, AccentRules::None());
    std::vector<std::string> labels;
    ASSERT_TRUE(labeler.Labels("先生、来週の試験は難しいですか？", labels));
    ASSERT_EQ(labels.size(), 39u);
    // The silence, the mora before the pause, the pause, the phrase after it, the question's
    // phrase with its voiceless U, and the closing silence.
    const std::vector<std::pair<std::size_t, std::string>> expected = {
        {0, "xx^xx-sil+s=e/A:xx+xx+xx/B:xx-xx_xx/C:xx_xx+xx/D:02+xx_xx/E:xx_xx!xx_xx-xx/"
            "F:xx_xx#xx_xx@xx_xx|xx_xx/G:4_3%0_xx_xx/H:xx_xx/I:xx-xx@xx+xx&xx-xx|xx+xx/J:1_4/"
            "K:2+4-21"},
        {6, "s^e-e+pau=r/A:1+4+1/B:xx-xx_xx/C:02_xx+xx/D:02+xx_xx/E:xx_xx!xx_xx-xx/"
            "F:4_3#0_xx@1_1|1_4/G:5_5%0_xx_0/H:xx_xx/I:1-4@1+2&1-4|1+21/J:3_17/K:2+4-21"},
        {7,
         "e^e-pau+r=a/A:xx+xx+xx/B:02-xx_xx/C:xx_xx+xx/D:02+xx_xx/E:4_3!0_xx-xx/"
         "F:xx_xx#xx_xx@xx_xx|xx_xx/G:5_5%0_xx_xx/H:1_4/I:xx-xx@xx+xx&xx-xx|xx+xx/J:3_17/K:2+4-21"},
        {8, "e^pau-r+a=i/A:-4+1+5/B:02-xx_xx/C:02_xx+xx/D:23+xx_xx/E:4_3!0_xx-0/"
            "F:5_5#0_xx@1_3|1_17/G:4_2%0_xx_1/H:1_4/I:3-17@2+1&2-3|5+17/J:xx_xx/K:2+4-21"},
        {21, "e^N-w+a=m/A:2+4+1/B:03-xx_xx/C:24_xx+xx/D:01+7_2/E:5_5!0_xx-1/F:4_2#0_xx@2_2|6_12/"
             "G:8_4%1_xx_1/H:1_4/I:3-17@2+1&2-3|5+17/J:xx_xx/K:2+4-21"},
        {35, "e^s-U+k=a/A:3+7+2/B:01-7_2/C:10_7+2/D:23+xx_xx/E:4_2!0_xx-1/F:8_4#1_xx@3_1|10_8/"
             "G:xx_xx%xx_xx_xx/H:1_4/I:3-17@2+1&2-3|5+17/J:xx_xx/K:2+4-21"},
        {38, "k^a-sil+xx=xx/A:xx+xx+xx/B:23-xx_xx/C:xx_xx+xx/D:xx+xx_xx/E:8_4!1_xx-xx/"
             "F:xx_xx#xx_xx@xx_xx|xx_xx/G:xx_xx%xx_xx_xx/H:3_17/I:xx-xx@xx+xx&xx-xx|xx+xx/J:xx_xx/"
             "K:2+4-21"},
    };
    for (const auto& [index, label] : expected) {
        EXPECT_EQ(labels[index], label) << "label " << index;
    }
}

TEST(LabelerTest, WordsKeepTheirSourceBytes) {
    const std::unique_ptr<Analyzer> analyzer = OpenJTalkAnalyzer();
    if (analyzer == nullptr) {
        GTEST_SKIP() << "the Open JTalk dictionary (open-jtalk-mecab-naist-jdic) is not installed";
    }
    Labeler labeler(*analyzer, AccentRules::All());
    std::vector<LabelWord> words;
    // A is made Ａ for the dictionary, ｶﾞ (6 bytes) ガ; 12 is one number, 本 its counter.
    const std::string line = "Aｶﾞ12本";
    ASSERT_TRUE(labeler.Words(line, words));
    ASSERT_GE(words.size(), 2u);
    EXPECT_EQ(words.front().sourceBegin, 0u);
    const LabelWord& twelve = words[words.size() - 2];
    EXPECT_EQ(twelve.surface, "１２");
    EXPECT_EQ(twelve.pronunciation, "ジューニ"); // ウ after u or o: ー
    EXPECT_EQ(twelve.sourceBegin, 7u);
    EXPECT_EQ(twelve.sourceEnd, 9u);
    EXPECT_EQ(words.back().pronunciation, "ホン");
    EXPECT_EQ(words.back().sourceEnd, line.size());
    std::vector<std::string> labels;
    ASSERT_TRUE(labeler.Labels("", labels));
    EXPECT_TRUE(labels.empty());
}

TEST(LabelBuilderTest, BreathGroupsQuestionsAndLongVowels) {
    // アメ] ガ (one phrase), a pause, フ]ル ー? (the long vowel of the word before).
    const std::vector<LabelWord> words = {Word("名詞", "アメ", 1, -1), Word("助詞", "ガ", 0, 1),
                                          Word("記号", "、", 0, 0),    Word("動詞", "フル", 1, 0),
                                          Word("助動詞", "ー", 0, 1),  Word("記号", "？", 0, 0)};
    const std::vector<std::string> labels = BuildLabels(words);
    // sil a m e g a pau f u r u u sil
    ASSERT_EQ(labels.size(), 13u);
    EXPECT_EQ(labels[5].substr(0, 14), "e^g-a+pau=f/A:");
    EXPECT_EQ(Field(labels[1], 'A'), "0+1+3");                   // ア, the nucleus of アメガ
    EXPECT_EQ(Field(labels[6], 'I'), "xx-xx@xx+xx&xx-xx|xx+xx"); // the pause
    EXPECT_EQ(Field(labels[6], 'H'), "1_3");                     // the group before it
    EXPECT_EQ(Field(labels[6], 'J'), "1_3");                     // and after it
    // The long vowel is a mora of フル's word: フルー, three morae, the question's phrase.
    EXPECT_EQ(Field(labels[11], 'A'), "2+3+1");
    EXPECT_EQ(Field(labels[11], 'F'), "3_1#1_xx@1_1|1_3");
    EXPECT_EQ(Field(labels[11], 'K'), "2+2-6");
    // Words with nothing to say give no labels.
    EXPECT_TRUE(BuildLabels({Word("記号", "、", 0, -1)}).empty());
    EXPECT_TRUE(BuildLabels({}).empty());
}

} // namespace
} // namespace yomi6::labels
