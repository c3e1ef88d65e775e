// Word lists: kana readings made half-width, comma- and tab-separated lines in UTF-8 (with or
// without a byte order mark) and Shift-JIS, the lines that are skipped and why, and writing
// lists that read back to the same entries.
#include "dictionary/word_list.h"
#include "support/sjis.h"
#include "text/halfwidth_kana.h"
#include "text/utf8_codec.h"

#include <gtest/gtest.h>

#include <string>

namespace yomi6 {
namespace {

using test::Sjis;

std::string HalfWidth(std::string_view utf8) {
    const auto bytes = HalfWidthReadingBytes(DecodeUtf8(utf8));
    return bytes ? *bytes : std::string("<none>");
}

TEST(HalfWidthKanaTest, HiraganaAndKatakanaWithVoicingMarks) {
    EXPECT_EQ(HalfWidth("が"), Sjis("ｶﾞ"));
    EXPECT_EQ(HalfWidth("ぱ"), Sjis("ﾊﾟ"));
    EXPECT_EQ(HalfWidth("ー"), Sjis("ｰ"));
    EXPECT_EQ(HalfWidth("かんじ"), Sjis("ｶﾝｼﾞ"));
    EXPECT_EQ(HalfWidth("カンジ"), Sjis("ｶﾝｼﾞ"));
    EXPECT_EQ(HalfWidth("ぎゃっぷ"), Sjis("ｷﾞｬｯﾌﾟ"));
    EXPECT_EQ(HalfWidth("ヴァイオリン"), Sjis("ｳﾞｧｲｵﾘﾝ"));
    EXPECT_EQ(HalfWidth("ゔ"), Sjis("ｳﾞ"));
    EXPECT_EQ(HalfWidth("ぢづ"), Sjis("ﾁﾞﾂﾞ"));
    EXPECT_EQ(HalfWidth("ぴょん"), Sjis("ﾋﾟｮﾝ"));
    EXPECT_EQ(HalfWidth("を"), Sjis("ｦ"));
}

TEST(HalfWidthKanaTest, SmallKanaWithoutHalfWidthFormAndSigns) {
    EXPECT_EQ(HalfWidth("ゎヮヵヶゐヱ"), Sjis("ﾜﾜｶｹｲｴ"));
    EXPECT_EQ(HalfWidth("「あ、い。う・え」"), Sjis("｢ｱ､ｲ｡ｳ･ｴ｣"));
    // A base kana with a combining voicing mark, as decomposed text holds it.
    EXPECT_EQ(HalfWidth("か\u3099は\u309A"), Sjis("ｶﾞﾊﾟ"));
    EXPECT_EQ(HalfWidth("ｶﾝｼﾞ"), Sjis("ｶﾝｼﾞ")); // already half-width
    EXPECT_EQ(HalfWidth("漢a1"), Sjis("漢a1")); // everything else as it is
    EXPECT_EQ(HalfWidth("😀"), "<none>");
}

TEST(HalfWidthKanaTest, EveryKanaBecomesSingleBytes) {
    // Each hiragana and katakana from ぁ/ァ up to ゖ/ヶ gives only half-width bytes.
    for (char16_t c = u'ぁ'; c <= u'ゖ'; ++c) {
        for (char16_t k : {c, static_cast<char16_t>(c + 0x60)}) {
            const auto bytes = HalfWidthReadingBytes(std::u16string(1, k));
            ASSERT_TRUE(bytes) << static_cast<int>(k);
            ASSERT_FALSE(bytes->empty());
            for (char b : *bytes) {
                EXPECT_GE(static_cast<unsigned char>(b), 0xA6) << static_cast<int>(k);
                EXPECT_LE(static_cast<unsigned char>(b), 0xDF) << static_cast<int>(k);
            }
        }
    }
}

WordEntry Entry(std::string_view word, std::string_view yomi) {
    return {Sjis(word), Sjis(yomi)};
}

TEST(ParseWordListTest, CommaSeparatedUtf8WithQuotesCrLfAndEmptyLines) {
    const std::string csv = "漢字,かんじ\r\n"
                            "\r\n"
                            "\"音 声\", \"おんせい\"\r\n"
                            "  \"A\"\"B\"  ,ｴｰﾋﾞｰ\n"
                            "\n"
                            "合成,ゴウセイ";
    const ParsedWordList list = ParseWordList(csv, WordListSeparator::Comma);
    EXPECT_EQ(list.encoding, WordListEncoding::Utf8);
    EXPECT_TRUE(list.skipped.empty());
    ASSERT_EQ(list.rows.size(), 4u);
    EXPECT_EQ(list.rows[0].line, 1);
    EXPECT_EQ(list.rows[0].entry, Entry("漢字", "ｶﾝｼﾞ"));
    EXPECT_EQ(list.rows[1].line, 3);
    EXPECT_EQ(list.rows[1].entry, Entry("音声", "ｵﾝｾｲ")); // the word loses its blank
    EXPECT_EQ(list.rows[2].line, 4);
    EXPECT_EQ(list.rows[2].entry, Entry("A\"B", "ｴｰﾋﾞｰ"));
    EXPECT_EQ(list.rows[3].line, 6);
    EXPECT_EQ(list.rows[3].entry, Entry("合成", "ｺﾞｳｾｲ"));
}

TEST(ParseWordListTest, ByteOrderMarkAndShiftJisAreRecognised) {
    const ParsedWordList bom =
        ParseWordList("\xEF\xBB\xBF漢字,かんじ\r\n", WordListSeparator::Comma);
    EXPECT_EQ(bom.encoding, WordListEncoding::Utf8WithBom);
    ASSERT_EQ(bom.rows.size(), 1u);
    EXPECT_EQ(bom.rows[0].entry, Entry("漢字", "ｶﾝｼﾞ"));

    const ParsedWordList sjis =
        ParseWordList(Sjis("漢字,かんじ\r\n記号,ｷｺﾞｳ\r\n"), WordListSeparator::Comma);
    EXPECT_EQ(sjis.encoding, WordListEncoding::ShiftJis);
    ASSERT_EQ(sjis.rows.size(), 2u);
    EXPECT_EQ(sjis.rows[0].entry, Entry("漢字", "ｶﾝｼﾞ"));
    EXPECT_EQ(sjis.rows[1].entry, Entry("記号", "ｷｺﾞｳ"));
}

TEST(ParseWordListTest, TabSeparatedFieldsTakenAsTheyStand) {
    const ParsedWordList list =
        ParseWordList("\"引用\"\tいんよう\r\nA,B\tえーびー\r\n1\t2\t3\r\n", WordListSeparator::Tab);
    ASSERT_EQ(list.rows.size(), 2u);
    EXPECT_EQ(list.rows[0].entry, Entry("\"引用\"", "ｲﾝﾖｳ")); // quotes are no syntax here
    EXPECT_EQ(list.rows[1].entry, Entry("A,B", "ｴｰﾋﾞｰ"));
    ASSERT_EQ(list.skipped.size(), 1u);
    EXPECT_EQ(list.skipped[0].line, 3);
    EXPECT_EQ(list.skipped[0].problem, WordListProblem::NotTwoFields);
}

// A word that starts with a quote, in a line whose reading ends with one: written as it stands,
// the line read back as one quoted field holding the tab, and the word was lost.
TEST(WriteWordListTest, AWordThatStartsWithAQuoteReadsBackInATabList) {
    const std::vector<WordEntry> entries = {Entry("\";", "ｻ\""), Entry("\"引用\"", "ｲﾝﾖｳ")};
    for (const auto encoding : {WordListEncoding::Utf8, WordListEncoding::ShiftJis}) {
        const std::string bytes = WriteWordList(entries, WordListSeparator::Tab, encoding);
        const ParsedWordList back = ParseWordList(bytes, WordListSeparator::Tab, encoding);
        ASSERT_EQ(back.rows.size(), 2u) << bytes;
        EXPECT_EQ(back.rows[0].entry, entries[0]);
        EXPECT_EQ(back.rows[1].entry, entries[1]);
    }
    // A doubled quote inside quotes is a quote, as a spreadsheet writes it.
    const ParsedWordList list = ParseWordList("\"a\"\"b\"\tｱ\r\n", WordListSeparator::Tab);
    ASSERT_EQ(list.rows.size(), 1u);
    EXPECT_EQ(list.rows[0].entry, Entry("a\"b", "ｱ"));
}

TEST(ParseWordListTest, SkippedLinesCarryTheirNumbersAndReasons) {
    const std::string csv = "単語,よみ,余分\n"                                    // 1: three fields
                            "ただ一つ\n"                                          // 2: one field
                            "\"閉じない,よみ\n"                                   // 3: open quote
                            "長い長い長い単語,ながい\n"                           // 4: 16 bytes
                            "長読み,あいうえおかきくけこさしすせそたちつてとな\n" // 5: 21 bytes
                            "漢字,漢字\n"                                         // 6: not kana
                            "数字,ｽｳｼﾞ1\n"                                        // 7: a digit
                            ",よみ\n"                                             // 8: empty word
                            "絵,😀\n"         // 9: not in the code page
                            "ok,おーけー\n"  // 10: fine
                            "bad,\xFF\xFE\n" // 11: invalid bytes
                            "a\tb,ｱ\n";      // 12: a tab, not quoted
    const ParsedWordList list =
        ParseWordList(csv, WordListSeparator::Comma, WordListEncoding::Utf8);
    ASSERT_EQ(list.rows.size(), 1u);
    EXPECT_EQ(list.rows[0].line, 10);
    const std::vector<std::pair<int, WordListProblem>> expected = {
        {1, WordListProblem::NotTwoFields},  {2, WordListProblem::NotTwoFields},
        {3, WordListProblem::NotTwoFields},  {4, WordListProblem::WordTooLong},
        {5, WordListProblem::YomiTooLong},   {6, WordListProblem::YomiNotKana},
        {7, WordListProblem::YomiNotKana},   {8, WordListProblem::EmptyField},
        {9, WordListProblem::NotInCodePage}, {11, WordListProblem::InvalidBytes},
        {12, WordListProblem::InvalidBytes},
    };
    ASSERT_EQ(list.skipped.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(list.skipped[i].line, expected[i].first) << i;
        EXPECT_EQ(list.skipped[i].problem, expected[i].second) << i;
        EXPECT_FALSE(DescribeWordListProblem(list.skipped[i].problem).empty());
    }
    EXPECT_EQ(list.skipped[3].text, "長い長い長い単語,ながい");
}

TEST(ParseWordListTest, EveryLineEndAndQuotedLineBreaks) {
    // CR alone (as old spreadsheets write), LF and CR LF mixed; a quoted field holding a line
    // break is one record, numbered by its first line, and the lines after it count on.
    const std::string csv = "漢字,かんじ\r"
                            "記号,きごう\n"
                            "\"改\r\n行\",かいぎょう\r\n"
                            "\"一\r二\n三\",ｲﾁ\r"
                            "\r"
                            "合成,ごうせい";
    const ParsedWordList list = ParseWordList(csv, WordListSeparator::Comma);
    EXPECT_TRUE(list.skipped.empty());
    ASSERT_EQ(list.rows.size(), 5u);
    const std::vector<std::pair<int, WordEntry>> expected = {
        {1, Entry("漢字", "ｶﾝｼﾞ")},       {2, Entry("記号", "ｷｺﾞｳ")},
        {3, Entry("改\r\n行", "ｶｲｷﾞｮｳ")}, {5, Entry("一\r二\n三", "ｲﾁ")},
        {9, Entry("合成", "ｺﾞｳｾｲ")},
    };
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(list.rows[i].line, expected[i].first) << i;
        EXPECT_EQ(list.rows[i].entry, expected[i].second) << i;
    }
    // CR-only Shift-JIS, as the other encoding.
    const ParsedWordList sjis =
        ParseWordList(Sjis("漢字,かんじ\r記号,ｷｺﾞｳ\r"), WordListSeparator::Comma);
    ASSERT_EQ(sjis.rows.size(), 2u);
    EXPECT_EQ(sjis.rows[1].line, 2);

    // A quote left open spoils its own line only; the next line is read as before.
    const ParsedWordList open =
        ParseWordList("\"開いた,よみ\r\n後,あと\r\n", WordListSeparator::Comma);
    ASSERT_EQ(open.rows.size(), 1u);
    EXPECT_EQ(open.rows[0].line, 2);
    ASSERT_EQ(open.skipped.size(), 1u);
    EXPECT_EQ(open.skipped[0].line, 1);
    EXPECT_EQ(open.skipped[0].problem, WordListProblem::NotTwoFields);
    // A skipped record over several lines is reported on one.
    const ParsedWordList bad =
        ParseWordList("\"a\nb\",c,d\n", WordListSeparator::Comma, WordListEncoding::Utf8);
    ASSERT_EQ(bad.skipped.size(), 1u);
    EXPECT_EQ(bad.skipped[0].text, "\"a↵b\",c,d");
}

TEST(ParseWordListTest, AHeaderRowIsPassedOver) {
    for (const char* header :
         {"単語,読み", "word,reading", "Word , Reading", "\"単語\",\"読み\""}) {
        const ParsedWordList list =
            ParseWordList(std::string(header) + "\r\n漢字,かんじ\r\n", WordListSeparator::Comma);
        EXPECT_TRUE(list.skipped.empty()) << header;
        EXPECT_EQ(list.headerLine, 1) << header;
        ASSERT_EQ(list.rows.size(), 1u) << header;
        EXPECT_EQ(list.rows[0].line, 2);
    }
    const ParsedWordList tabs =
        ParseWordList(Sjis("\r\n単語\t読み\r\n漢字\tかんじ\r\n"), WordListSeparator::Tab);
    EXPECT_TRUE(tabs.skipped.empty());
    EXPECT_EQ(tabs.headerLine, 2); // the first line that is not empty
    ASSERT_EQ(tabs.rows.size(), 1u);
    // Only the first row can be a header; later it is a row like any other (and its reading,
    // 読み, is no kana).
    const ParsedWordList later =
        ParseWordList("漢字,かんじ\n単語,読み\n", WordListSeparator::Comma);
    EXPECT_EQ(later.headerLine, 0);
    ASSERT_EQ(later.skipped.size(), 1u);
    EXPECT_EQ(later.skipped[0].line, 2);
    EXPECT_EQ(later.skipped[0].problem, WordListProblem::YomiNotKana);
}

TEST(ParseWordListTest, InvalidShiftJisBytesSkipOnlyTheirLine) {
    // 0x81 0x20 is a lead byte without its trail; 0xA0 and 0xFD are no character.
    const std::string bytes = Sjis("漢字,ｶﾝｼﾞ\r\n") + "\x81\x20,\xB1\r\n" + "\xA0,\xB1\r\n" +
                              "\xFD\xFD,\xB1\r\n" + Sjis("記号,ｷｺﾞｳ\r\n");
    const ParsedWordList list =
        ParseWordList(bytes, WordListSeparator::Comma, WordListEncoding::ShiftJis);
    ASSERT_EQ(list.rows.size(), 2u);
    EXPECT_EQ(list.rows[1].line, 5);
    ASSERT_EQ(list.skipped.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(list.skipped[static_cast<std::size_t>(i)].line, i + 2);
        EXPECT_EQ(list.skipped[static_cast<std::size_t>(i)].problem, WordListProblem::InvalidBytes);
    }
}

TEST(ParseWordListTest, TheCodesOfStrayBytesAreNoTextInAUtf8ListEither) {
    // U+F8F0-U+F8F3 are the codes of the single bytes 0xA0 and 0xFD-0xFF: a UTF-8 list that
    // holds one would put a stray byte in the dictionary, which a Shift-JIS list cannot read back.
    const std::string bytes = "\xEF\xA3\xB2,\xEF\xBD\xB1\n"  // U+F8F2,ｱ
                              "A,\xEF\xBD\xB1\xEF\xA3\xB2\n" // A,ｱ U+F8F2
                              "B,\xEF\xBD\xB1\n";            // B,ｱ
    const ParsedWordList list =
        ParseWordList(bytes, WordListSeparator::Comma, WordListEncoding::Utf8);
    ASSERT_EQ(list.rows.size(), 1u);
    EXPECT_EQ(list.rows[0].line, 3);
    ASSERT_EQ(list.skipped.size(), 2u);
    EXPECT_EQ(list.skipped[0].problem, WordListProblem::InvalidBytes);
    EXPECT_EQ(list.skipped[1].problem, WordListProblem::InvalidBytes);
}

TEST(WriteWordListTest, EachFormReadsBackToTheSameEntries) {
    // What the dictionary can hold, the awkward cases included: separators, quotes, line
    // breaks of each kind and other control bytes in a word (the cleaning keeps them), a line
    // break in a reading, and a word that looks like a header.
    const std::vector<WordEntry> entries = {
        Entry("漢字", "ｶﾝｼﾞ"),       Entry("A,B", "ｴｰﾋﾞｰ"),   Entry("\"Q\"", "ｷｭｰ"),
        Entry("Pad", "ﾊﾟｯﾄﾞ"),       Entry("改\r\n行", "ｶｲ"), Entry("LF\n", "ｴﾙ"),
        Entry("\rCR", "ｼｰ"),         Entry("タ\tブ", "ﾀﾌﾞ"),  Entry("\"a\tb\"", "ｱ"),
        Entry("x\x01y\x7F", "ｴｯｸｽ"), Entry("読\"み", "ﾖ\nﾐ"), Entry("\"", "ｸｫｰﾄ")};
    for (auto encoding :
         {WordListEncoding::Utf8, WordListEncoding::Utf8WithBom, WordListEncoding::ShiftJis}) {
        for (auto separator : {WordListSeparator::Comma, WordListSeparator::Tab}) {
            const std::string bytes = WriteWordList(entries, separator, encoding);
            const ParsedWordList back = ParseWordList(bytes, separator);
            EXPECT_EQ(back.encoding, encoding);
            EXPECT_TRUE(back.skipped.empty())
                << back.skipped.front().line << " " << back.skipped.front().text;
            ASSERT_EQ(back.rows.size(), entries.size());
            for (std::size_t i = 0; i < entries.size(); ++i) {
                EXPECT_EQ(back.rows[i].entry, entries[i]) << i;
            }
        }
    }
}

TEST(WriteWordListTest, ExactBytesOfEachForm) {
    const std::vector<WordEntry> entries = {Entry("漢字", "ｶﾝｼﾞ"), Entry("A,B", "ｴｰ")};
    EXPECT_EQ(WriteWordList(entries, WordListSeparator::Comma, WordListEncoding::Utf8),
              "漢字,ｶﾝｼﾞ\r\n\"A,B\",ｴｰ\r\n");
    EXPECT_EQ(WriteWordList(entries, WordListSeparator::Tab, WordListEncoding::Utf8WithBom),
              "\xEF\xBB\xBF漢字\tｶﾝｼﾞ\r\nA,B\tｴｰ\r\n");
    EXPECT_EQ(WriteWordList(entries, WordListSeparator::Comma, WordListEncoding::ShiftJis),
              Sjis("漢字,ｶﾝｼﾞ\r\n\"A,B\",ｴｰ\r\n"));
    // A remnant byte that is no character becomes U+FFFD in UTF-8 and stays in Shift-JIS.
    const std::vector<WordEntry> broken = {{"\x81", Sjis("ｱ")}};
    EXPECT_EQ(WriteWordList(broken, WordListSeparator::Comma, WordListEncoding::Utf8),
              "\xEF\xBF\xBD,ｱ\r\n");
    EXPECT_EQ(WriteWordList(broken, WordListSeparator::Comma, WordListEncoding::ShiftJis),
              "\x81," + Sjis("ｱ") + "\r\n");
}

} // namespace
} // namespace yomi6
