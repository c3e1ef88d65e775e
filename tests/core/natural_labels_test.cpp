// The labels the natural voice is given for a piece of text are the labels `--labels` writes for
// it: a word the automatic reading gives as its own reading (a number with its counter, a
// user's word) keeps the accent the labels of the text alone give it wherever the dictionary
// with accents reads it the same way, and is said by rule only where the reading is its own.
#include "analysis/analyzer_loader.h"
#include "analysis/mecab_analyzer.h"
#include "labels/labeler.h"
#include "natural_engine_support.h"
#include "natural_voice/sentence_labels.h"
#include "support/scoped_env.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace yomi6 {
namespace {

using natural::test::Sjis;
using natural::test::Utf8Of;

constexpr const char* kAccentDictionary = "/var/lib/mecab/dic/open-jtalk/naist-jdic";

class NaturalLabels : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        m_accents = OpenMecabAnalyzer(kAccentDictionary, error);
        ASSERT_NE(m_accents, nullptr) << error;
        ASSERT_TRUE(labels::AccentRules::Parse("all", m_rules, error)) << error;
    }

    // The labels the voice is given for the whole of text (code page 932).
    std::vector<std::string> VoiceLabels(const std::string& text) {
        const natural_voice::ReadingSources reading{nullptr, m_reader, nullptr};
        natural_voice::SentenceLabels out;
        EXPECT_TRUE(
            natural_voice::LabelPiece(text, {0, text.size()}, reading, *m_accents, m_rules, out));
        return out.labels;
    }

    // The labels `--labels` writes for the same text.
    std::vector<std::string> WrittenLabels(const std::string& text) {
        labels::Labeler labeler(*m_accents, m_rules);
        std::vector<std::string> out;
        EXPECT_TRUE(labeler.Labels(Utf8Of(text), out));
        return out;
    }

    // The reading's analyzer is the accent dictionary too, as a new user's is.
    yomi6::test::ScopedEnv m_analyzer{kAnalyzerDictionaryVariable, kAccentDictionary};
    AnalyzerLoader m_reader;
    std::unique_ptr<Analyzer> m_accents;
    labels::AccentRules m_rules;
};

TEST_F(NaturalLabels, WordsTheReadingGivesHaveTheAccentTheLabelsOfTheTextGive) {
    // Each has a number the reading gives (a counter flat after it, a native counting word, a
    // date, a long number in groups) beside words the dictionary reads.
    const std::u16string texts[] = {
        u"三回も行った。",
        u"一人で来た。",
        u"二十日が経った。",
        u"5年前の話です。",
        u"１２３４５６円を払う。",
        u"第2次の計画。",
        u"二人と三匹がいた。",
        u"10分ほど待つ。",
        // Words read by their neighbours, which the dictionary reads so only in context.
        u"彼は他の人とは違う。",
        u"今ドアから入る。",
    };
    for (const std::u16string& t : texts) {
        const std::string text = Sjis(t);
        EXPECT_EQ(VoiceLabels(text), WrittenLabels(text)) << Utf8Of(text);
    }
}

TEST_F(NaturalLabels, WordsTheDictionaryDoesNotReadAsTheReadingAreSaidAsTheReadingSaysThem) {
    // English words, said in katakana by the reading, are no words of the dictionary with
    // accents: the voice says the reading's morae, each word by rule.
    const std::vector<std::string> labels = VoiceLabels(Sjis(u"Simple is best."));
    std::string said;
    for (const std::string& label : labels) {
        // The phoneme between - and + of a full-context label.
        const std::size_t from = label.find('-');
        const std::size_t to = label.find('+');
        ASSERT_NE(from, std::string::npos);
        ASSERT_NE(to, std::string::npos);
        said += label.substr(from + 1, to - from - 1) + " ";
    }
    EXPECT_EQ(said, "sil sh i N p u r u pau i z u pau b e s U t o sil ");
}

} // namespace
} // namespace yomi6
