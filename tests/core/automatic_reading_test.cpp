// The automatic reading with the real analyzer (MeCab over the system's IPADIC): words read as
// spoken, the user's words first, Latin letters and signs by the fixed rules, long vowels, the
// source range of every reading byte, the full buffer, and bad input of every kind.
#include "analysis/analyzer_loader.h"
#include "analysis/mecab_analyzer.h"
#include "dictionary/dic_index.h"
#include "dictionary/dictionary.h"
#include "reading/automatic_reading.h"
#include "support/sjis.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace yomi6 {
namespace {

using test::Hex;
using test::Sjis;
using test::ToHex;

class AutomaticReadingTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string error;
        s_analyzer = OpenMecabAnalyzer(std::string(kDefaultAnalyzerDictionary), error);
        ASSERT_NE(s_analyzer, nullptr) << error;
    }
    static void TearDownTestSuite() { s_analyzer.reset(); }

    // The automatic reading of raw bytes; checks that every range lies inside the text and
    // that the ranges never go backwards or overlap.
    std::string Read(const std::string& bytes) {
        result = ConvertAutomatic(reinterpret_cast<const unsigned char*>(bytes.data()),
                                  bytes.size(), dic.View(), *s_analyzer, reading, source);
        EXPECT_LT(result.length, kReadingBufferSize);
        EXPECT_EQ(reading[result.length], 0);
        const std::size_t n = std::min(bytes.size(), kMaxTextBytes);
        EXPECT_LE(result.sourceEnd, n);
        for (std::size_t i = 0; i < result.length; ++i) {
            EXPECT_LT(source[i].begin, source[i].end) << "byte " << i;
            EXPECT_LE(source[i].end, n) << "byte " << i;
            if (i > 0 && !(source[i] == source[i - 1])) {
                EXPECT_GE(source[i].begin, source[i - 1].end) << "byte " << i;
            }
        }
        return std::string(reinterpret_cast<const char*>(reading), result.length);
    }

    // The reading as UTF-8 half-width katakana, for readable expectations.
    std::string ReadKana(const std::string& utf8) { return Read(Sjis(utf8)); }

    // The source range of reading byte i as "begin-end".
    std::string RangeOf(std::size_t i) const {
        return std::to_string(source[i].begin) + "-" + std::to_string(source[i].end);
    }

    void AddUserRow(int slot, const std::string& word, const std::string& yomi) {
        std::memset(dic.Tables().word[slot], 0, kWordSlotSize);
        std::memset(dic.Tables().yomi[slot], 0, kYomiSlotSize);
        std::memcpy(dic.Tables().word[slot], word.data(), word.size());
        std::memcpy(dic.Tables().yomi[slot], yomi.data(), yomi.size());
        dic.Changed();
    }

    // The suite's one analyzer, opened in SetUpTestSuite and closed in TearDownTestSuite:
    // opening MeCab for every test would cost more than the tests.
    // NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables)
    static std::unique_ptr<Analyzer> s_analyzer;
    Dictionary dic;
    unsigned char reading[kReadingBufferSize];
    SourceRange source[kReadingBufferSize];
    ReadingResult result;
};

// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables)
std::unique_ptr<Analyzer> AutomaticReadingTest::s_analyzer;

#define EXPECT_KANA(text, kana) EXPECT_EQ(ToHex(ReadKana(text)), ToHex(Sjis(kana)))

TEST_F(AutomaticReadingTest, KanjiWordsAreReadAsSpokenAndMapToTheWholeWord) {
    EXPECT_KANA("漢字を読む", "ｶﾝｼﾞｦﾖﾑ");
    EXPECT_EQ(RangeOf(0), "0-4");  // ｶ of 漢字
    EXPECT_EQ(RangeOf(3), "0-4");  // ﾞ of ｼﾞ
    EXPECT_EQ(RangeOf(4), "4-6");  // を
    EXPECT_EQ(RangeOf(5), "6-10"); // ﾖ of 読む
    EXPECT_EQ(result.sourceEnd, 10u);
    // A kanji's second byte is never read as a letter: 行 (0x8D 0x73) and 用 (0x97 0x70).
    EXPECT_KANA("行く", "ｲｸ");
    EXPECT_KANA("用いる", "ﾓﾁｲﾙ");
}

TEST_F(AutomaticReadingTest, ParticlesAreReadAsSpoken) {
    EXPECT_KANA("私は駅へ行く", "ﾜﾀｼﾜｴｷｴｲｸ");
    EXPECT_KANA("はな", "ﾊﾅ"); // は that is no particle
}

TEST_F(AutomaticReadingTest, LongVowelsSoundAsTheVowelBeforeThem) {
    EXPECT_KANA("コーヒー", "ｺｵﾋｲ");
    EXPECT_KANA("東京", "ﾄｵｷｮｵ"); // the pronunciation lengthens with ー
    EXPECT_KANA("ｺｰﾋｰ", "ｺｵﾋｲ");  // half-width text, the mark ｰ included
    EXPECT_KANA("ｷｬｰ", "ｷｬｱ");
    EXPECT_KANA("ー", " ");       // nothing before it to lengthen
    EXPECT_KANA("きって", "ｷｯﾃ"); // the small tsu stays the silent tick it is
}

TEST_F(AutomaticReadingTest, UnknownKanaWordsAreReadByTheirKana) {
    EXPECT_KANA("ぴよぴよぷー", "ﾋﾟﾖﾋﾟﾖﾌﾟｳ");
    EXPECT_KANA("ヴァヴィ", "ｳﾞｧｳﾞｨ");
}

TEST_F(AutomaticReadingTest, LatinLettersAndSignsKeepTheFixedRules) {
    EXPECT_EQ(ToHex(Read("ABC")), ToHex(Hex("B4 B2 CB DE B2 BC B2")));
    EXPECT_EQ(ToHex(Read(Sjis("Ｗ、"))), ToHex(Hex("C0 DE CC DE D8 AD B3 2D")));
    EXPECT_EQ(ToHex(Read("a-b")), ToHex(Hex("B4 B2 2D CB DE B2")));
    EXPECT_EQ(ToHex(Read(Sjis("漢字。\r\n"))), ToHex(Sjis("ｶﾝｼﾞ") + Hex("2D 0D 0A")));
    // Other two-byte characters are not read (one silent blank each): α, ─, ≒. (① is read as
    // a number: analyzer_dictionaries_test.)
    EXPECT_EQ(ToHex(Read(Sjis("α─≒"))), "20 20 20");
}

TEST_F(AutomaticReadingTest, TheBuiltInRowsAreNotUsed) {
    // In the dictionary reading "Pad" is ﾊﾟｯﾄﾞ and 喋 alone is ｼｬﾍﾞ; here the letters are
    // letters and the analyzer reads 喋る whole.
    EXPECT_EQ(ToHex(Read("Pad")), ToHex(Hex("CB DF B2 B4 B2 C3 DE A8 B2")));
    EXPECT_KANA("喋る", "ｼｬﾍﾞﾙ");
    EXPECT_KANA("母は、", "ﾊﾊﾜ-");
}

TEST_F(AutomaticReadingTest, UserWordsComeFirstLongestFirstOnCharacterBoundaries) {
    AddUserRow(kBuiltinRows, Sjis("東京都庁"), Sjis("ﾄﾁｮｳ"));
    AddUserRow(kBuiltinRows + 1, Sjis("東京"), Sjis("ﾄｳｷｮｳ"));
    EXPECT_KANA("東京都庁と東京", "ﾄﾁｮｳﾄﾄｳｷｮｳ");
    EXPECT_EQ(RangeOf(0), "0-8");
    EXPECT_EQ(RangeOf(4), "8-10"); // と
    EXPECT_EQ(RangeOf(5), "10-14");
    // A user word that is the prefix of an analyzer word wins; the analyzer reads what is left.
    AddUserRow(kBuiltinRows + 2, Sjis("大"), Sjis("ﾀﾞｲ"));
    EXPECT_KANA("大学", "ﾀﾞｲｶﾞｸ");
    EXPECT_EQ(RangeOf(0), "0-2");
    EXPECT_EQ(RangeOf(3), "2-4");
}

TEST_F(AutomaticReadingTest, UserWordsAreNotMatchedFromASecondByte) {
    // あい is 82 A0 82 A2; a word A0 82 would start on あ's second byte.
    AddUserRow(kBuiltinRows, Hex("A0 82"), Sjis("ﾝ"));
    EXPECT_KANA("あい", "ｱｲ");
    // A user word spelled like a built-in word counts; its long-vowel mark is a vowel here.
    AddUserRow(kBuiltinRows + 1, Sjis("漢字"), Sjis("ｶﾝｼﾞｰ"));
    EXPECT_KANA("漢字", "ｶﾝｼﾞｲ");
}

TEST_F(AutomaticReadingTest, NumbersAreReadAsNumbersWithTheirCounters) {
    EXPECT_KANA("2026年3月4日", "ﾆｾﾝﾆｼﾞｭｳﾛｸﾈﾝｻﾝｶﾞﾂﾖｯｶ");
    EXPECT_EQ(RangeOf(0), "0-6");        // 2026年, counter included
    EXPECT_KANA("１０％", "ｼﾞｭｯﾊﾟｱｾﾝﾄ"); // full-width; the number's ｰ becomes a vowel
    // Kanji numerals only where the analyzer sees a number: 三百人 is one, 一般 is none.
    EXPECT_KANA("三百人", "ｻﾝﾋﾞｬｸﾆﾝ");
    EXPECT_KANA("一般", "ｲｯﾊﾟﾝ");
    EXPECT_KANA("一つ", "ﾋﾄﾂ");
    // A kanji numeral whose number reaches past the run of kanji is read once.
    EXPECT_KANA("三%です", "ｻﾝﾊﾟｱｾﾝﾄﾃﾞｽ");
    EXPECT_EQ(RangeOf(0), "0-3");
    EXPECT_EQ(RangeOf(8), "3-7");
}

TEST_F(AutomaticReadingTest, TheFirstDayIsADateOnlyAfterAMonthOrHeadingALine) {
    EXPECT_KANA("8月1日に着く", "ﾊﾁｶﾞﾂﾂｲﾀﾁﾆﾂｸ");
    EXPECT_KANA("毎月 1日に", "ﾏｲﾂｷ ﾂｲﾀﾁﾆ");
    EXPECT_KANA("1日 晴れ", "ﾂｲﾀﾁ ﾊﾚ");
    EXPECT_KANA("前\n1日 晴れ", "ﾏｴ\nﾂｲﾀﾁ ﾊﾚ");
    EXPECT_KANA("それが１日の始まり", "ｿﾚｶﾞｲﾁﾆﾁﾉﾊｼﾞﾏﾘ");
    EXPECT_KANA("丸一日かかる", "ﾏﾙｲﾁﾆﾁｶｶﾙ");
    EXPECT_KANA("あと2日", "ｱﾄﾌﾂｶ"); // other days keep their one reading
    // At a line's head it is a date only as a diary's heading is: before a blank, a bracket
    // or the line's end; in a sentence it is a day's length.
    EXPECT_EQ(ReadKana("1日（月）").substr(0, 4), Sjis("ﾂｲﾀﾁ"));
    EXPECT_KANA("1日", "ﾂｲﾀﾁ");
    EXPECT_KANA("一日や一年の長さ", "ｲﾁﾆﾁﾔｲﾁﾈﾝﾉﾅｶﾞｻ");
    EXPECT_EQ(ReadKana("前\n１日付で").substr(0, 7), Sjis("ﾏｴ\nｲﾁﾆﾁ"));
}

TEST_F(AutomaticReadingTest, NumbersTakeTheSoundsOfTheWordsBesideThem) {
    EXPECT_KANA("何百里も", "ﾅﾝﾋﾞｬｸﾘﾓ");
    EXPECT_KANA("何千人も", "ﾅﾝｾﾞﾝﾆﾝﾓ");
    EXPECT_KANA("百里も", "ﾋｬｸﾘﾓ");
    EXPECT_KANA("一月ほど休む", "ﾋﾄﾂｷﾎﾄﾞﾔｽﾑ");
    EXPECT_KANA("一月に休む", "ｲﾁｶﾞﾂﾆﾔｽﾑ");
    // 後 right after a number and its counter is ご, whatever the run after the number alone
    // would make of it.
    EXPECT_KANA("２時間後の便", "ﾆｼﾞｶﾝｺﾞﾉﾋﾞﾝ");
    EXPECT_KANA("3日後に着く", "ﾐｯｶｺﾞﾆﾂｸ");
    EXPECT_KANA("後に着く", "ﾉﾁﾆﾂｸ");
    // Digits around the Japanese comma: an approximate number, or thousands.
    EXPECT_KANA("１、２日で見る", "ｲﾁﾆﾆﾁﾃﾞﾐﾙ");
    EXPECT_KANA("１、０００名", "ｾﾝﾒｲ");
}

TEST_F(AutomaticReadingTest, AFullBufferStopsAfterTheLastWholeWord) {
    // 東京 read ﾄｵｷｮｵ: 5 bytes a word, 819 whole words in 4095 bytes.
    std::string text;
    for (int i = 0; i < 1000; ++i) {
        text += Sjis("東京");
    }
    const std::string r = Read(text);
    EXPECT_EQ(r.size() % 5, 0u);
    EXPECT_GT(r.size(), 4095u - 5);
    EXPECT_EQ(r.substr(r.size() - 5), Sjis("ﾄｵｷｮｵ"));
    EXPECT_EQ(result.sourceEnd, r.size() / 5 * 4);
    EXPECT_EQ(source[r.size() - 1].end, result.sourceEnd);
}

TEST_F(AutomaticReadingTest, LongRunsAreReadUpToTheBuffer) {
    // 4000 bytes of one kanji: the analyzer's words, then the cut at a whole word.
    std::string kanji;
    for (int i = 0; i < 2000; ++i) {
        kanji += Sjis("字");
    }
    Read(kanji);
    EXPECT_GT(result.length, 2000u);
    EXPECT_EQ(result.sourceEnd % 2, 0u);
    // 4000 digits: read as far as the buffer holds.
    Read(std::string(4000, '7'));
    EXPECT_GT(result.length, 4000u);
    EXPECT_GT(result.sourceEnd, 0u);
    // 2000 katakana the analyzer takes as one unknown word are read character by character.
    std::string kana;
    for (int i = 0; i < 2000; ++i) {
        kana += Sjis("ヌ");
    }
    EXPECT_EQ(Read(kana), std::string(2000, '\xC7'));
    EXPECT_EQ(result.sourceEnd, 4000u);
}

TEST_F(AutomaticReadingTest, BadBytesGiveSilentBlanksAndNeverBreakTheRanges) {
    // A lone lead byte at the end, a lead byte before a line feed, NUL, 0x80, 0xFF.
    EXPECT_EQ(ToHex(Read(Hex("88"))), "20");
    EXPECT_EQ(ToHex(Read(Hex("88 0A 00 80 FF"))), "20 0A 20 80 FF");
    // A code no character has (0x85 0x40) and an unmapped code of a kanji row.
    EXPECT_EQ(ToHex(Read(Hex("85 40"))), "20");
    EXPECT_EQ(RangeOf(0), "0-2");
    // Bytes the editor keeps as escapes come as the raw bytes they stand for, in any mix.
    std::string mixed = Sjis("東京") + Hex("81") + Sjis("あ") + Hex("FC FC 00") + Sjis("山");
    Read(mixed);
    EXPECT_EQ(result.sourceEnd, mixed.size());
    std::string everything;
    for (int rep = 0; rep < 20; ++rep) {
        for (int b = 0; b < 256; ++b) {
            everything.push_back(static_cast<char>(b));
        }
    }
    Read(everything); // fills the buffer before byte 4000
    EXPECT_GT(result.sourceEnd, 2000u);
}

TEST(AnalyzerLoaderTest, LoadsOnTheFirstUseOnly) {
    int opened = 0;
    AnalyzerLoader loader([&](const std::string& dir, std::string& error) {
        ++opened;
        return OpenMecabAnalyzer(dir, error);
    });
    EXPECT_FALSE(loader.IsLoaded());
    EXPECT_EQ(opened, 0);
    std::string error;
    ASSERT_NE(loader.Get(error), nullptr) << error;
    ASSERT_NE(loader.Get(error), nullptr);
    EXPECT_EQ(opened, 1);
}

} // namespace
} // namespace yomi6
