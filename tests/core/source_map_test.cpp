// Every byte of a reading tied to the source bytes it came from, in the dictionary reading;
// each tick of a pass reporting its unit and that unit's source range; the speech bytes of the
// editor's text mapped back to its characters.
#include "dictionary/dic_index.h"
#include "dictionary/dic_tables.h"
#include "playback/speech_pass.h"
#include "playback/speech_state.h"
#include "reading/reading_conversion.h"
#include "support/sjis.h"
#include "support/test_reading.h"
#include "text/speech_text.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace yomi6 {
namespace {

using test::Hex;
using test::Sjis;
using test::ToHex;

// "begin-end" for each run of reading bytes that share a range: "0-4x4 4-6x1" reads as four
// bytes from source 0-4, then one byte from 4-6.
std::string Runs(const SourceRange* source, std::size_t length) {
    std::string out;
    std::size_t i = 0;
    while (i < length) {
        std::size_t j = i;
        while (j < length && source[j] == source[i]) {
            ++j;
        }
        out += (out.empty() ? "" : " ") + std::to_string(source[i].begin) + "-" +
               std::to_string(source[i].end) + "x" + std::to_string(j - i);
        i = j;
    }
    return out;
}

class SourceMapTest : public ::testing::Test {
protected:
    Dictionary dic;

    // The ranges of the reading of bytes, checked against the plain conversion's reading.
    std::string Map(const std::string& bytes) {
        const auto* text = reinterpret_cast<const unsigned char*>(bytes.data());
        unsigned char plain[kReadingBufferSize];
        const std::size_t plainLength = ConvertToReading(text, bytes.size(), dic.View(), plain);
        result = ConvertWithSourceMap(text, bytes.size(), dic.View(), reading, source);
        EXPECT_EQ(result.length, plainLength);
        EXPECT_EQ(0, std::memcmp(reading, plain, kReadingBufferSize));
        return Runs(source, result.length);
    }

    unsigned char reading[kReadingBufferSize];
    SourceRange source[kReadingBufferSize];
    ReadingResult result;
};

TEST_F(SourceMapTest, WordsMapToTheWholeWordAndFoldedCharactersToTheirBytes) {
    // 漢字 (built-in row, 4 bytes read ｶﾝｼﾞ), は、 (built-in row), 3 (ｻﾝ), こ (ｺ), 。 (-).
    EXPECT_EQ(Map(Sjis("漢字は、3こ。")), "0-4x4 4-8x2 8-9x2 9-11x1 11-13x1");
    EXPECT_EQ(result.sourceEnd, 13u);
    // A kanji the dictionary does not hold: both bytes copied, both mapped to the kanji.
    EXPECT_EQ(Map(Sjis("人")), "0-2x2");
    // CR LF are reading bytes of their own.
    EXPECT_EQ(Map(Sjis("あ\r\nい")), "0-2x1 2-3x1 3-4x1 4-6x1");
}

TEST_F(SourceMapTest, EveryCharacterMapsToItsOwnBytes) {
    // ｂ's second byte spells "は、" with the bytes behind it, but no word starts there: ｂ,
    // ﾍ, 、 and あ each map to their own bytes.
    EXPECT_EQ(Map(Hex("82 82 CD 81 41 82 A0")), "0-2x3 2-3x1 3-5x1 5-7x1");
}

TEST_F(SourceMapTest, AFullBufferRecordsWhereTheReadingStopped) {
    const std::string ws(4000, 'W');
    Map(ws);
    EXPECT_EQ(result.length, 585u * 7);
    EXPECT_EQ(result.sourceEnd, 585u);
    EXPECT_EQ(source[result.length - 1], (SourceRange{584, 585}));
    // A text longer than 4000 bytes is read up to byte 4000.
    Map(std::string(4100, ' '));
    EXPECT_EQ(result.sourceEnd, 4000u);
}

TEST_F(SourceMapTest, UserWordLookupAgreesWithTheReferenceScanAndSkipsBuiltInRows) {
    const auto add = [this](int slot, const std::string& word) {
        std::memcpy(dic.Tables().word[slot], word.data(), word.size());
        std::memcpy(dic.Tables().yomi[slot], "\xB1", 1);
    };
    // Longest first, as the user rows are stored; one spells a built-in word.
    add(kBuiltinRows, Sjis("漢字検定"));
    add(kBuiltinRows + 1, Sjis("漢字"));
    add(kBuiltinRows + 2, Sjis("漢"));
    dic.Changed();
    const DictionaryView indexed = dic.View(DicLookup::Indexed);
    const DictionaryView linear = dic.View(DicLookup::LinearReference);
    for (const std::string& text :
         {Sjis("漢字検定だ"), Sjis("漢字だ"), Sjis("漢だ"), Sjis("音声"), std::string("Pad")}) {
        unsigned char padded[32] = {};
        std::copy_n(text.data(), text.size(), padded);
        EXPECT_EQ(indexed.FirstUserMatch(padded), linear.FirstUserMatch(padded));
    }
    unsigned char padded[32] = {};
    std::memcpy(padded, Sjis("漢字だ").data(), 6);
    EXPECT_EQ(indexed.FirstMatch(padded), 4); // the built-in row 漢字
    EXPECT_EQ(indexed.FirstUserMatch(padded), kBuiltinRows + 1);
    std::copy_n("Pad", 3, padded);
    EXPECT_EQ(indexed.FirstUserMatch(padded), -1);
}

TEST(PassSourceTest, EachTickReportsItsUnitAndTheUnitsSourceRange) {
    test::TestReading run;
    auto state = std::make_unique<SpeechState>();
    // 漢字 ｶﾝｼﾞ: three units from one word; っ: a silent tick of its own; CR LF cost no tick.
    const std::string text = Sjis("漢字っ\r\nキャ");
    StartSpeech(*state, reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                run.Setup());
    std::vector<std::string> ticks;
    RunPass(*state, [&](const TickResult& t) {
        ticks.push_back(std::string(t.sample.empty() ? "-" : t.sample) + " " +
                        std::to_string(t.unitBegin) + "+" + std::to_string(t.unitLength) + " " +
                        std::to_string(t.source.begin) + "-" + std::to_string(t.source.end));
    });
    const std::vector<std::string> expected = {"IDF_KA 0+1 0-4",   "IDF_NN 1+1 0-4",
                                               "IDF_ZI 2+2 0-4",   "- 4+1 4-6",
                                               "IDF_KYA 7+2 8-12", "- 9+0 12-12"};
    EXPECT_EQ(ticks, expected);
    // The pass ran on a copy.
    EXPECT_EQ(state->playIndex, 0);
}

TEST(SpeechSourceTest, BytesAreTheSpeechBytesAndMapBackToCharacters) {
    const std::u16string text = u"a漢\n😀\uF781x";
    const SpeechSource source = SpeechSourceOf(text);
    EXPECT_EQ(ToHex(source.bytes), ToHex(SpeechBytes(text)));
    // a | 漢 (2 bytes) | CR LF for the line break | the emoji, a blank for 2 units | the
    // escaped byte 0x81 | x
    ASSERT_EQ(source.spans.size(), 8u);
    const auto span = [&](std::size_t b, std::size_t e) {
        const SpeechSource::Span s = source.TextSpan(b, e);
        return std::to_string(s.begin) + "-" + std::to_string(s.end);
    };
    EXPECT_EQ(span(1, 3), "1-2");
    EXPECT_EQ(span(2, 3), "1-2"); // the second byte of 漢 is 漢
    EXPECT_EQ(span(3, 5), "2-3"); // CR and LF are the one '\n'
    EXPECT_EQ(span(5, 6), "3-5"); // the emoji's surrogate pair
    EXPECT_EQ(span(6, 8), "5-7");
    EXPECT_EQ(span(8, 8), "7-7"); // past the end: an empty span at the end
    EXPECT_EQ(span(4, 4), "2-2");

    // Cut at a byte limit like the speak command, possibly inside a character.
    const SpeechSource cut = SpeechSourceOf(text, 2);
    EXPECT_EQ(ToHex(cut.bytes), ToHex(SpeechBytes(text, 2)));
    EXPECT_EQ(cut.spans.size(), 2u);
}

} // namespace
} // namespace yomi6
