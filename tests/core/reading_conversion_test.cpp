// The reading of texts: folding rules, dictionary matches and their quirks, the 4000-byte cut
// and the bound of the reading buffer.
#include "dictionary/dic_index.h"
#include "dictionary/dic_tables.h"
#include "playback/speech_state.h"
#include "reading/reading_conversion.h"
#include "support/sjis.h"
#include "support/test_reading.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace yomi6 {
namespace {

using test::Hex;
using test::Sjis;
using test::ToHex;

class ReadingTest : public ::testing::Test {
protected:
    Dictionary dic;

    // The reading of raw bytes, by both lookups; they must agree.
    std::string Read(const std::string& bytes) {
        unsigned char indexed[kReadingBufferSize];
        unsigned char linear[kReadingBufferSize];
        const auto* text = reinterpret_cast<const unsigned char*>(bytes.data());
        const std::size_t n1 =
            ConvertToReading(text, bytes.size(), dic.View(DicLookup::Indexed), indexed);
        const std::size_t n2 =
            ConvertToReading(text, bytes.size(), dic.View(DicLookup::LinearReference), linear);
        EXPECT_EQ(n1, n2);
        EXPECT_EQ(0, std::memcmp(indexed, linear, kReadingBufferSize));
        EXPECT_EQ(0, indexed[n1]);
        return std::string(reinterpret_cast<const char*>(indexed), n1);
    }

    void AddUserRow(int slot, const std::string& word, const std::string& yomi) {
        ASSERT_LT(word.size(), kWordSlotSize);
        ASSERT_LT(yomi.size(), kYomiSlotSize);
        std::memset(dic.Tables().word[slot], 0, kWordSlotSize);
        std::memset(dic.Tables().yomi[slot], 0, kYomiSlotSize);
        std::memcpy(dic.Tables().word[slot], word.data(), word.size());
        std::memcpy(dic.Tables().yomi[slot], yomi.data(), yomi.size());
        dic.Changed();
    }
};

#define EXPECT_READING(text, hex) EXPECT_EQ(ToHex(Read(text)), ToHex(Hex(hex)))

TEST_F(ReadingTest, DigitsReadOneByOneWithLengtheningBlanks) {
    EXPECT_READING("123", "B2 C1 C6 20 BB DD");
    EXPECT_READING("5", "BA DE 20");
    EXPECT_READING(Sjis("２５"), "C6 20 BA DE 20");
    EXPECT_READING("0987", "BE DE DB B7 AD B3 CA C1 C5 C5");
}

TEST_F(ReadingTest, LettersReadAlikeInEveryForm) {
    const std::string w = "C0 DE CC DE D8 AD B3";
    EXPECT_READING("W", w);
    EXPECT_READING("w", w);
    EXPECT_READING(Sjis("Ｗ"), w);
    EXPECT_READING(Sjis("ｗ"), w);
    EXPECT_READING(Sjis("ＤＪｚ"), "C3 DE A8 B2 BC DE AA B2 BE DE AF C4");
}

TEST_F(ReadingTest, HiraganaAndKatakanaGiveTheSameBytes) {
    EXPECT_READING(Sjis("ガッコウ"), "B6 DE AF BA B3");
    EXPECT_READING(Sjis("がっこう"), "B6 DE AF BA B3");
    EXPECT_READING(Sjis("ぱぴぷぺぽ"), "CA DF CB DF CC DF CD DF CE DF");
    EXPECT_READING(Sjis("きゃ"), "B7 AC");
    EXPECT_READING(Sjis("ムン"), "D1 DD"); // the katakana past the 0x7F gap
    EXPECT_READING(Sjis("ミ"), "D0");
}

TEST_F(ReadingTest, IrregularKanaRows) {
    EXPECT_READING(Sjis("ゎヮわ"), "DC DC DC");
    EXPECT_READING(Sjis("ゐヰゑヱ"), "B2 B2 B4 B4");
    EXPECT_READING(Sjis("ヴ"), "B3 DE");
    EXPECT_READING(Sjis("ヵヶ"), "20 20");
    EXPECT_READING(Sjis("をヲ"), "A6 A6");
    EXPECT_READING(Hex("83 7F"), "20"); // no character
}

TEST_F(ReadingTest, PunctuationOfRow81) {
    EXPECT_READING(Sjis("　、。，．・ー―"), "2D 2D 2D 2D 2D 2D 2D 2D");
    EXPECT_READING(Sjis("「」？"), "20 20 20");
    EXPECT_READING(Sjis(" ,.､｡"), "20 2C 2E A4 A1");
    EXPECT_READING("-", "2D");
}

TEST_F(ReadingTest, OtherBytesPassThrough) {
    EXPECT_READING("a\r\nb", "B4 B2 0D 0A CB DE B2");
    EXPECT_READING(Sjis("ｶﾞｯｺｳ"), "B6 DE AF BA B3");
    // A kanji outside the dictionary is copied whole; a second byte that is a letter (人 90 6C
    // "l", 春 8F 74 "t", 駅 89 77 "w") or a half-width kana (漢 8A BF) is not read.
    EXPECT_READING(Sjis("人"), "90 6C");
    EXPECT_READING(Sjis("春駅"), "8F 74 89 77");
    EXPECT_READING(Sjis("漢"), "8A BF");
    EXPECT_READING(Sjis("人a"), "90 6C B4 B2"); // the byte after the kanji is a character again
    // Other rows of 0x82 give a blank.
    EXPECT_READING(Hex("82 40"), "20");
    EXPECT_READING(Hex("80 A0 FF"), "80 A0 FF");
}

TEST_F(ReadingTest, BuiltInRows) {
    EXPECT_READING(Sjis("は、"), "DC A4");
    EXPECT_READING(Sjis("漢字は、3こ。"), "B6 DD BC DE DC A4 BB DD BA 2D");
    EXPECT_READING("Pad", "CA DF AF C4 DE");
    EXPECT_READING("pad", "CB DF B2 B4 B2 C3 DE A8 B2"); // case-sensitive: letters
    EXPECT_READING(Sjis("切り替え"), "B7 D8 B6 B4");
}

TEST_F(ReadingTest, NoWordIsTriedAtASecondByte) {
    // ｂ (82 82), ﾍ (CD), 、(81 41), あ (82 A0): the bytes from ｂ's second byte on spell "は、"
    // (82 CD 81 41), but a word starts only at the first byte of a character.
    EXPECT_READING(Hex("82 82 CD 81 41 82 A0"), "CB DE B2 CD 2D B1");
    // A user word that spells a kanji's second byte and what follows it: read only where it
    // starts a character.
    AddUserRow(19, "la", Sjis("ﾗ"));
    EXPECT_READING(Sjis("人") + "a", "90 6C B4 B2");
    EXPECT_READING("la", "D7");
    // A word starting at the lead byte still matches.
    AddUserRow(19, Sjis("人"), Sjis("ﾋﾄ"));
    EXPECT_READING(Sjis("人人"), "CB C4 CB C4");
}

TEST_F(ReadingTest, EarlierSlotWinsOverLongerWord) {
    AddUserRow(19, Sjis("漢字検定"), Sjis("ｹﾝﾃｲ"));
    EXPECT_READING(Sjis("漢字検定"),
                   "B6 DD BC DE 8C 9F 92 E8"); // 漢字 wins; 検 and 定 are not read
    AddUserRow(20, Sjis("音"), Sjis("ｵﾄ"));
    AddUserRow(21, "", Sjis("ｱ")); // a used slot with an empty word is never matched
    EXPECT_READING(Sjis("音声"), "B5 DD BE B2");
    EXPECT_READING(Sjis("音"), "B5 C4");
}

TEST_F(ReadingTest, WordAtTheEndMatchesOnlyWhenWhole) {
    AddUserRow(19, "abc", Sjis("ｴｰ"));
    EXPECT_READING("xabc", "B4 AF B8 BD B4 B0");
    EXPECT_READING("xab", "B4 AF B8 BD B4 B2 CB DE B2");
}

TEST_F(ReadingTest, TableEndsAtTheFirstEmptyReading) {
    AddUserRow(20, "q", Sjis("ｸ")); // behind the empty slot 19: never read
    EXPECT_READING("q", "B7 AD B3");
}

TEST_F(ReadingTest, OnlyTheFirst4000BytesAreRead) {
    std::string text(3999, ' ');
    text += "\x82"; // a lead byte 0x82 in the last position yields nothing
    text += "\x82\xA0";
    EXPECT_EQ(Read(text), std::string(3999, ' '));
    text = std::string(3999, ' ') + "\x88\x9F"; // another lead byte is copied
    EXPECT_EQ(Read(text), std::string(3999, ' ') + "\x88");
    // A kanji that ends at the cut is read whole.
    text = std::string(3998, ' ') + Sjis("人") + "a";
    EXPECT_EQ(Read(text), std::string(3998, ' ') + Hex("90 6C"));
}

TEST_F(ReadingTest, ReadingThatDoesNotFitEndsWithTheLastWholeOutput) {
    // 4000 "W" read as 28000 bytes; 585 whole readings of 7 bytes fit in 4095.
    const std::string ws(4000, 'W');
    const std::string r = Read(ws);
    EXPECT_EQ(r.size(), 585u * 7);
    EXPECT_EQ(r.substr(r.size() - 7), Hex("C0 DE CC DE D8 AD B3"));

    // A one-byte word with a 20-byte reading: 204 readings fit (4080 bytes), then "a" does not.
    AddUserRow(19, "x", std::string(20, '\xB1'));
    std::string text(300, 'x');
    EXPECT_EQ(Read(text), std::string(204 * 20, '\xB1'));
    // The room left (15 bytes) still takes shorter outputs behind the last reading that fits.
    text = std::string(204, 'x') + "ab" + std::string(10, 'x');
    EXPECT_EQ(ToHex(Read(text)), ToHex(std::string(204 * 20, '\xB1') + Hex("B4 B2 CB DE B2")));
}

TEST_F(ReadingTest, ReadingFillsEveryByteBeforeTheTerminatorAndNoMore) {
    // 204 readings of 20 bytes (4080) and one-byte outputs: the 15th ends the reading at
    // exactly 4095 bytes, the 16th would take the terminator's byte and is refused.
    AddUserRow(19, "x", std::string(20, '\xB1'));
    const std::string text = std::string(204, 'x') + std::string(16, ' ');
    unsigned char reading[kReadingBufferSize];
    std::memset(reading, 0xEE, sizeof reading);
    const std::size_t n = ConvertToReading(reinterpret_cast<const unsigned char*>(text.data()),
                                           text.size(), dic.View(DicLookup::Indexed), reading);
    ASSERT_EQ(n, kReadingBufferSize - 1);
    EXPECT_EQ(reading[kReadingBufferSize - 1], 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(reading), n),
              std::string(204 * 20, '\xB1') + std::string(15, ' '));
}

TEST_F(ReadingTest, ACopiedKanjiIsNeverSplitByAFullBuffer) {
    // 204 readings of 20 bytes and 14 blanks leave one byte before the terminator: the two bytes
    // of 人 do not fit and the reading stops before it, where the source map says it stopped.
    AddUserRow(19, "x", std::string(20, '\xB1'));
    const std::string text = std::string(204, 'x') + std::string(14, ' ') + Sjis("人");
    unsigned char reading[kReadingBufferSize];
    SourceRange source[kReadingBufferSize];
    const ReadingResult r =
        ConvertWithSourceMap(reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                             dic.View(), reading, source);
    EXPECT_EQ(r.length, kReadingBufferSize - 2);
    EXPECT_EQ(r.sourceEnd, 218u);
    EXPECT_EQ(reading[r.length - 1], ' ');
}

TEST_F(ReadingTest, EmptyText) {
    EXPECT_EQ(Read(""), "");
}

TEST(StartSpeechTest, SetsTheStateAsTheSpeakCommandLeavesIt) {
    test::TestReading run;
    SpeechState s;
    const std::string text = Sjis("あい");
    StartSpeech(s, reinterpret_cast<const unsigned char*>(text.data()), text.size(), run.Setup());
    EXPECT_EQ(s.speaking, 1);
    EXPECT_EQ(s.stopRequest, 0);
    EXPECT_EQ(s.playIndex, 0);
    EXPECT_EQ(s.endIndex, 2);
    EXPECT_EQ(s.reading[0], 0xB1);
    EXPECT_EQ(s.reading[2], 0);

    // A second speak while speaking raises the stop request and replaces the reading.
    s.playIndex = 1;
    StartSpeech(s, reinterpret_cast<const unsigned char*>("5"), 1, run.Setup());
    EXPECT_EQ(s.stopRequest, 1);
    EXPECT_EQ(s.playIndex, 0);
    EXPECT_EQ(s.endIndex, 3);

    // An empty text: empty reading, end index 0, still speaking.
    s.speaking = 0;
    StartSpeech(s, nullptr, 0, run.Setup());
    EXPECT_EQ(s.speaking, 1);
    EXPECT_EQ(s.stopRequest, 0);
    EXPECT_EQ(s.endIndex, 0);
    for (const unsigned char b : s.reading) {
        ASSERT_EQ(b, 0);
    }
}

} // namespace
} // namespace yomi6
