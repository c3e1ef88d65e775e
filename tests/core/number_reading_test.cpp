// Numbers in Japanese text read aloud: the table of spoken readings, where an expression ends,
// what is not a number, and long or malformed input.
#include "reading/number_reading.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <string_view>

namespace yomi6 {
namespace {

// Code page 932 half-width katakana back to UTF-8, so that failures print readably.
std::string KanaToUtf8(std::string_view cp932) {
    std::string out;
    for (const char c : cp932) {
        const unsigned b = static_cast<unsigned char>(c);
        if (b < 0xA1 || b > 0xDF) {
            out += "<?>";
            continue;
        }
        const unsigned cp = 0xFF61 + (b - 0xA1);
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
    return out;
}

bool IsPlayableKana(std::string_view cp932) {
    for (const char c : cp932) {
        const unsigned b = static_cast<unsigned char>(c);
        if (b < 0xA6 || b > 0xDF) {
            return false;
        }
    }
    return !cp932.empty();
}

std::string Reading(std::string_view text) {
    const auto r = ReadNumber(text);
    return r ? KanaToUtf8(r->reading) : "<none>";
}

std::size_t Length(std::string_view text) {
    const auto r = ReadNumber(text);
    return r ? r->length : 0;
}

TEST(NumberReadingTest, ReadsEveryExpressionOfTheSpokenTableWhole) {
    std::ifstream file(YOMI6_SOURCE_DIR "/tests/golden/numbers.tsv");
    ASSERT_TRUE(file) << "tests/golden/numbers.tsv";
    std::string line;
    int cases = 0;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const auto tab = line.find('\t');
        ASSERT_NE(tab, std::string::npos) << line;
        const std::string text = line.substr(0, tab);
        const std::string expected = line.substr(tab + 1);
        ++cases;
        const auto r = ReadNumber(text);
        ASSERT_TRUE(r.has_value()) << text;
        EXPECT_EQ(KanaToUtf8(r->reading), expected) << text;
        EXPECT_EQ(r->length, text.size()) << text;
        EXPECT_TRUE(IsPlayableKana(r->reading)) << text;
    }
    EXPECT_GE(cases, 150);
}

TEST(NumberReadingTest, TextThatDoesNotStartWithANumberGivesNothing) {
    for (const char* text :
         {"",  "abc", "x1", "万",   "億円", "円",   "第", "第a", "-",  "-x",
          "+", "−円", ".5", "，１", "ｲﾁ",   "いち", "ー", "、3", " 3", "\xEF\xBC"}) {
        EXPECT_FALSE(ReadNumber(text).has_value()) << '"' << text << '"';
    }
}

TEST(NumberReadingTest, OneCallReadsOneExpressionAndTheCallerGoesOn) {
    const std::string text = "3月4日";
    const auto month = ReadNumber(text);
    ASSERT_TRUE(month);
    EXPECT_EQ(month->length, std::string_view("3月").size());
    EXPECT_EQ(KanaToUtf8(month->reading), "ｻﾝｶﾞﾂ");
    EXPECT_EQ(Reading(std::string_view(text).substr(month->length)), "ﾖｯｶ");

    EXPECT_EQ(Length("2026年12月"), std::string_view("2026年").size());
    EXPECT_EQ(Length("12:30"), 2u);
    EXPECT_EQ(Length("3abc"), 1u);
    EXPECT_EQ(Length("10日本"), std::string_view("10日").size());
}

TEST(NumberReadingTest, SeparatorsAndPointsCountOnlyWhenDigitsFollowInTheirShape) {
    EXPECT_EQ(Length("1,23"), 1u);     // a group needs three digits
    EXPECT_EQ(Length("1,2345"), 1u);   // and no more
    EXPECT_EQ(Length("1234,567"), 4u); // the first group has at most three
    EXPECT_EQ(Length("1,234,56"), 5u); // a bad later group ends the number before it
    EXPECT_EQ(Length("3."), 1u);
    EXPECT_EQ(Length("3.x"), 1u);
    EXPECT_EQ(Length("1.2."), 3u);
    EXPECT_EQ(Length("0,5"), 1u);
    EXPECT_EQ(Reading("1,23"), "ｲﾁ");
    EXPECT_EQ(Reading("3.14万人"), "ｻﾝﾃﾝｲﾁﾖﾝﾏﾝﾆﾝ");
}

TEST(NumberReadingTest, ACounterIsTakenOnlyWhereItFitsTheNumber) {
    // つ counts only up to ten.
    EXPECT_EQ(Length("11つ"), 2u);
    EXPECT_EQ(Reading("11つ"), "ｼﾞｭｳｲﾁ");
    // Dotted numbers take no counter.
    EXPECT_EQ(Length("2.6.32年"), 6u);
    // 分 as a share or inside a longer word keeps its plain reading.
    EXPECT_EQ(Length("3分の1"), std::string_view("3分").size());
    EXPECT_EQ(Reading("3分の1"), "ｻﾝﾌﾞﾝ");
    EXPECT_EQ(Reading("10分の1"), "ｼﾞｭｳﾌﾞﾝ");
    EXPECT_EQ(Reading("3分割"), "ｻﾝﾌﾞﾝ");
    EXPECT_EQ(Reading("3分。"), "ｻﾝﾌﾟﾝ");
    EXPECT_EQ(Reading("４分の３"), "ﾖﾝﾌﾞﾝ");
    EXPECT_EQ(Reading("十分の一"), "ｼﾞｭｳﾌﾞﾝ");
    EXPECT_EQ(Reading("百分の何"), "ﾋｬｸﾌﾞﾝ");
    // 分の before anything but a number is minutes and their の (50分の授業, 30分の休憩),
    // also at the end of the text.
    EXPECT_EQ(Reading("50分の授業"), "ｺﾞｼﾞｭｯﾌﾟﾝ");
    EXPECT_EQ(Reading("３０分の休憩"), "ｻﾝｼﾞｭｯﾌﾟﾝ");
    EXPECT_EQ(Reading("5分の"), "ｺﾞﾌﾝ");
    EXPECT_EQ(Length("5分の"), std::string_view("5分").size());
    // One kanji digit, 分 and の before a word is a tenth, ぶ; not in digits, nor after more
    // than one kanji digit (三十分の休憩 is half an hour).
    EXPECT_EQ(Reading("六分の力"), "ﾛｸﾌﾞ");
    EXPECT_EQ(Reading("四分の理"), "ｼﾌﾞ");
    EXPECT_EQ(Reading("九分の"), "ｸﾌﾞ");
    EXPECT_EQ(Length("五分の魂"), std::string_view("五分").size());
    EXPECT_EQ(Reading("四分の一"), "ﾖﾝﾌﾞﾝ");
    EXPECT_EQ(Reading("6分の休憩"), "ﾛｯﾌﾟﾝ");
    EXPECT_EQ(Reading("三十分の休憩"), "ｻﾝｼﾞｭｯﾌﾟﾝ");
    // One blank may stand before a counter, but not two, and a blank alone is not taken.
    EXPECT_EQ(Length("2 つ"), std::string_view("2 つ").size());
    EXPECT_EQ(Length("2  つ"), 1u);
    EXPECT_EQ(Length("2 は"), 1u);
    EXPECT_EQ(Length("2 "), 1u);
    EXPECT_EQ(Reading("11 つ"), "ｼﾞｭｳｲﾁ");
    // A sign needs a digit right after it.
    EXPECT_EQ(Reading("- 3"), "<none>");
}

TEST(NumberReadingTest, KanjiNumeralsOutOfOrderEndTheNumberWhereTheOrderBreaks) {
    EXPECT_EQ(Length("十二十"), std::string_view("十二").size());
    EXPECT_EQ(Length("百千"), std::string_view("百").size());
    EXPECT_EQ(Length("5万万"), std::string_view("5万").size());
    EXPECT_EQ(Length("1万1億"), std::string_view("1万1").size());
    EXPECT_EQ(Length("十25"), std::string_view("十").size()); // a digit run is taken whole
    EXPECT_EQ(Length("12千"), 2u);
    EXPECT_EQ(Reading("1万1億"), "ｲﾁﾏﾝｲﾁ");
}

TEST(NumberReadingTest, TwoKanjiDigitsCountingUpByOneAreAnApproximateNumber) {
    // Said digit by digit, the counter after the second digit (and no counter's reading of its
    // own: 一二人 is not ﾋﾄﾘ).
    EXPECT_EQ(Reading("三四人"), "ｻﾝﾖﾆﾝ");
    EXPECT_EQ(Reading("一二人"), "ｲﾁﾆﾆﾝ");
    EXPECT_EQ(Reading("四五日"), "ｼｺﾞﾆﾁ");
    EXPECT_EQ(Reading("六七本"), "ﾛｸｼﾁﾎﾝ");
    EXPECT_EQ(Reading("七八本"), "ｼﾁﾊｯﾎﾟﾝ");
    EXPECT_EQ(Reading("八九時"), "ﾊｯｸｼﾞ");
    EXPECT_EQ(Reading("二三尺"), "ﾆｻﾝｼｬｸ");
    EXPECT_EQ(Length("二三人は"), std::string_view("二三人").size());
    // A place or group word after the pair belongs to its second digit, and the pair may follow
    // place words.
    EXPECT_EQ(Reading("二三十人"), "ﾆｻﾝｼﾞｭｳﾆﾝ");
    EXPECT_EQ(Reading("五六百"), "ｺﾞﾛｯﾋﾟｬｸ");
    EXPECT_EQ(Reading("二三万"), "ﾆｻﾝﾏﾝ");
    EXPECT_EQ(Reading("十二三歳"), "ｼﾞｭｳﾆｻﾝｻｲ");
    EXPECT_EQ(Reading("三十四五"), "ｻﾝｼﾞｭｳｼｺﾞ");
    // Digits that do not count up by one, three digits, 〇 and digits are exact numbers.
    EXPECT_EQ(Reading("三五人"), "ｻﾝｼﾞｭｳｺﾞﾆﾝ");
    EXPECT_EQ(Reading("一二三"), "ﾋｬｸﾆｼﾞｭｳｻﾝ");
    EXPECT_EQ(Reading("〇一"), "ｾﾞﾛｲﾁ");
    EXPECT_EQ(Reading("23人"), "ﾆｼﾞｭｳｻﾝﾆﾝ");
    EXPECT_EQ(Reading("三二"), "ｻﾝｼﾞｭｳﾆ");
}

TEST(NumberReadingTest, TheJapaneseCommaBetweenDigits) {
    // Before three digits that start with 0, which no number of its own does, it separates
    // thousands, and then it may go on separating them (1、000、500).
    EXPECT_EQ(Length("１、０００名"), std::string_view("１、０００名").size());
    EXPECT_EQ(Length("1、000、500円"), std::string_view("1、000、500円").size());
    // Elsewhere it ends the number: a list (１、５００), or a group of other than three digits.
    EXPECT_EQ(Reading("１、５００"), "ｲﾁ");
    EXPECT_EQ(Reading("1、00"), "ｲﾁ");
    EXPECT_EQ(Reading("1、0000"), "ｲﾁ");
    EXPECT_EQ(Reading("12、"), "ｼﾞｭｳﾆ");
    // Two digits around it that count up by one are an approximate number, its counter read
    // as after the second digit and no counter's own reading (１、２日 is not ﾌﾂｶ).
    EXPECT_EQ(Length("２、３の欠点"), std::string_view("２、３").size());
    EXPECT_EQ(Reading("１、２日で"), "ｲﾁﾆﾆﾁ");
    EXPECT_EQ(Reading("１、２人"), "ｲﾁﾆﾆﾝ");
    // Not in a list of three and more, nor where the digits do not count up by one, nor with
    // longer digit runs.
    EXPECT_EQ(Reading("１、２、３日"), "ｲﾁ");
    EXPECT_EQ(Reading("２、４日"), "ﾆ");
    EXPECT_EQ(Reading("2、34日"), "ﾆ");
    EXPECT_EQ(Reading("12、13日"), "ｼﾞｭｳﾆ");
    EXPECT_EQ(Reading("9、10日"), "ｷｭｳ");
}

TEST(NumberReadingTest, ACounterInKatakanaIsTakenOnlyAsAWholeWord) {
    EXPECT_EQ(Reading("6キロ歩く"), "ﾛｯｷﾛ");
    EXPECT_EQ(Length("10キロメートル"), 2u);
    EXPECT_EQ(Reading("1トンネル"), "ｲﾁ");
    EXPECT_EQ(Length("１セットアップ"), std::string_view("１").size());
    EXPECT_EQ(Length("１セット、"), std::string_view("１セット").size());
}

TEST(NumberReadingTest, OnlyThreeGroupsOfATelephoneNumberAreReadDigitByDigit) {
    // A date, a range and groups of other sizes are numbers of their own, the hyphen left to
    // the caller.
    EXPECT_EQ(Reading("2024-12-31"), "ﾆｾﾝﾆｼﾞｭｳﾖﾝ");
    EXPECT_EQ(Length("2024-12-31"), 4u);
    EXPECT_EQ(Reading("10-20"), "ｼﾞｭｳ");
    EXPECT_EQ(Reading("03-1234"), "ｾﾞﾛｻﾝ");
    EXPECT_EQ(Reading("03-12345-6789"), "ｾﾞﾛｻﾝ");
    EXPECT_EQ(Length("123456-12-1234"), 6u);
    // A fourth group is not taken; nor a counter after the number.
    EXPECT_EQ(Length("03-1234-5678-9"), std::string_view("03-1234-5678").size());
    EXPECT_EQ(Length("03-1234-5678人"), std::string_view("03-1234-5678").size());
    EXPECT_EQ(Length("03-1234-567"), 2u);
}

TEST(NumberReadingTest, OldUnitsAreCountersWithTheirSoundChanges) {
    EXPECT_EQ(Reading("一寸"), "ｲｯｽﾝ");
    EXPECT_EQ(Reading("八尺"), "ﾊｯｼｬｸ");
    EXPECT_EQ(Reading("二十銭"), "ﾆｼﾞｭｯｾﾝ");
    EXPECT_EQ(Reading("十里"), "ｼﾞｭｳﾘ");
    EXPECT_EQ(Reading("三疋"), "ｻﾝﾋﾞｷ");
    EXPECT_EQ(Reading("一疋"), "ｲｯﾋﾟｷ");
}

TEST(NumberReadingTest, LongDigitStringsAreReadDigitByDigitWithoutLimit) {
    const std::string digits(4000, '7');
    const auto r = ReadNumber(digits);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->length, 4000u);
    EXPECT_EQ(r->reading.size(), 4000u * 2); // ﾅﾅ each
    EXPECT_TRUE(IsPlayableKana(r->reading));

    std::string wide;
    for (int i = 0; i < 1000; ++i) {
        wide += i % 2 == 0 ? "９" : "1";
    }
    const auto w = ReadNumber(wide);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->length, wide.size());
    EXPECT_EQ(w->reading.size(), 500u * 3 + 500u * 2); // ｷｭｳ and ｲﾁ
}

TEST(NumberReadingTest, LongRunsOfKanjiDigitsAndDotsStayWithinTheInput) {
    std::string kanji;
    for (int i = 0; i < 1300; ++i) {
        kanji += "一";
    }
    const auto k = ReadNumber(kanji);
    ASSERT_TRUE(k);
    EXPECT_EQ(k->length, kanji.size());
    EXPECT_EQ(k->reading.size(), 1300u * 2);

    std::string dotted = "1";
    for (int i = 0; i < 1000; ++i) {
        dotted += ".1";
    }
    const auto d = ReadNumber(dotted);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->length, dotted.size());
    EXPECT_TRUE(IsPlayableKana(d->reading));
}

TEST(NumberReadingTest, BrokenBytesAfterANumberAreLeftToTheCaller) {
    EXPECT_EQ(Length("12\xEF\xBC"), 2u);                 // a full-width digit cut short
    EXPECT_EQ(Length("12\xFF\xFE"), 2u);                 // bytes that are no UTF-8
    EXPECT_EQ(Length(std::string_view("5\0日", 5)), 1u); // a NUL between number and counter
    EXPECT_EQ(Reading("3分\xE3"), "ｻﾝﾌﾟﾝ");
}

} // namespace
} // namespace yomi6
