// Every mora the real engine says carries the source bytes it was read from: kanji, numbers,
// Latin words, signs, half-width kana, and the user's dictionary words said as registered.
#include "analysis/analyzer_loader.h"
#include "analysis/mecab_analyzer.h"
#include "natural/alignment.h"
#include "natural/chunk_synthesis.h"
#include "natural/phoneme_kana.h"
#include "natural_engine_support.h"
#include "support/scoped_env.h"
#include "text/cp932_codec.h"
#include "text/utf8_codec.h"

#include <gtest/gtest.h>

#include <cstring>

namespace yomi6::natural {
namespace {

using test::Described;
using test::Say;
using test::Sjis;
using test::Utf8Of;

TEST(NaturalAlignment, KanjiNumbersLatinAndSigns) {
    struct Case {
        std::u16string text;
        std::string units;
    };
    const Case cases[] = {
        // A number is said as the number reading says it, with its counter: its morae cover
        // both.
        {u"今日は2026年、ABCの日です。",
         "_= キョ=今日 ー=今日 ワ=は ニ=2026年 セ=2026年 ン=2026年 ニ=2026年 ジュ=2026年 "
         "ー=2026年 ロ=2026年 ク=2026年 ネ=2026年 ン=2026年 _=、 エ=A イ=A ビ=B ー=B シ=C "
         "イ=C ノ=の ヒ=日 デ=です ス=です _=。"},
        // Full-width digits, a thousands comma and a decimal point are read as one number each.
        {u"１,０００円と3.5倍。",
         "_= セ=１,０００円 ン=１,０００円 エ=１,０００円 ン=１,０００円 ト=と サ=3.5倍 "
         "ン=3.5倍 テ=3.5倍 ン=3.5倍 ゴ=3.5倍 バ=3.5倍 イ=3.5倍 _=。"},
        // ★, which is said as a pause between two words that the engine would otherwise join
        // (星空 ホシゾラ).
        {u"星★空", "_= ホ=星 シ=星 _=★ ソ=空 ラ=空 _="},
    };
    // The Latin letters are spelled as the automatic reading spells them, with the analyzer
    // that knows no Latin word (natural_latin_signs_test.cpp has more of them).
    const yomi6::test::ScopedEnv dictionary(kAnalyzerDictionaryVariable,
                                            std::string(kDefaultAnalyzerDictionary));
    for (const Case& c : cases) {
        const std::string text = Sjis(c.text);
        const ChunkSound sound = Say(text);
        ASSERT_EQ(sound.error, "");
        EXPECT_EQ(Described(text, sound), c.units) << Utf8Of(text);
    }
}

TEST(NaturalAlignment, EveryMoraIsKatakana) {
    // Small kana the engine says as morae of their own, which its analysis counts differently
    // from their kana: their units were named by the engine's phonemes ("i", "y a").
    const std::string text = Sjis(u"ァィゥェォャュョ、ぁぃゅ。");
    const ChunkSound sound = Say(text);
    ASSERT_EQ(sound.error, "");
    std::size_t spoken = 0;
    for (const NaturalUnit& u : sound.units) {
        if (u.silent) {
            continue;
        }
        ++spoken;
        const std::u32string kana = DecodeUtf8Points(u.mora);
        EXPECT_FALSE(kana.empty());
        for (const char32_t c : kana) {
            EXPECT_TRUE(c >= U'ァ' && c <= U'ヺ') << u.mora;
        }
    }
    EXPECT_GE(spoken, 8u);
    // The engine's phonemes as katakana, consonant clusters and devoiced vowels too.
    EXPECT_EQ(PhonemeKana("ky o"), "キョ");
    EXPECT_EQ(PhonemeKana("s U"), "ス");
    EXPECT_EQ(PhonemeKana("y a"), "ヤ");
    EXPECT_EQ(PhonemeKana("N"), "ン");
    EXPECT_EQ(PhonemeKana("cl"), "ッ");
    EXPECT_EQ(PhonemeKana("xx a"), "ア");
}

TEST(NaturalAlignment, HalfWidthKanaAndTimesOnTheSound) {
    const std::string text = "\xB6\xDE\xB7\xDE\xA4\xC3\xBD\xC4"; // ｶﾞｷﾞ､ﾃｽﾄ
    const ChunkSound sound = Say(text);
    ASSERT_EQ(sound.error, "");
    // ﾃｽﾄ is one word for the engine: each of its morae carries the whole word.
    EXPECT_EQ(Described(text, sound), "_= ガ=ｶﾞ ギ=ｷﾞ _=､ テ=ﾃｽﾄ ス=ﾃｽﾄ ト=ﾃｽﾄ _=");
    // Units follow each other on the sound's frames and end within it.
    std::int64_t last = 0;
    for (const NaturalUnit& u : sound.units) {
        EXPECT_GE(u.startFrame, last);
        EXPECT_GE(u.endFrame, u.startFrame);
        last = u.startFrame;
    }
    EXPECT_EQ(sound.units.front().startFrame, 0);
    EXPECT_LE(sound.units.back().endFrame, static_cast<std::int64_t>(sound.pcm.size()));
    EXPECT_GT(sound.pcm.size(), 16000u / 2);
}

// A user dictionary of two rows: 明日 read ｱｽ (the engine alone says アシタ) and ｙ６ read ﾖﾐﾛｸ.
struct UserRows {
    static constexpr const char* kWords[] = {"\x96\xBE\x93\xFA", "\x82\x99\x82\x55"};
    static constexpr const char* kReadings[] = {"\xB1\xBD", "\xD6\xD0\xDB\xB8"};

    static int Match(const unsigned char* text) {
        for (int k = 0; k < 2; ++k) {
            if (std::strncmp(reinterpret_cast<const char*>(text), kWords[k],
                             std::strlen(kWords[k])) == 0) {
                return k;
            }
        }
        return -1;
    }
};

TEST(NaturalAlignment, UserWordsAreSaidAsRegistered) {
    static const auto words = [] {
        std::array<std::array<char, kWordSlotSize>, 2> w{};
        for (int k = 0; k < 2; ++k) {
            std::strcpy(w[static_cast<std::size_t>(k)].data(), UserRows::kWords[k]);
        }
        return w;
    }();
    static const auto readings = [] {
        std::array<std::array<char, kYomiSlotSize>, 2> r{};
        for (int k = 0; k < 2; ++k) {
            std::strcpy(r[static_cast<std::size_t>(k)].data(), UserRows::kReadings[k]);
        }
        return r;
    }();
    const DictionaryView dic(reinterpret_cast<const char(*)[kWordSlotSize]>(words.data()),
                             reinterpret_cast<const char(*)[kYomiSlotSize]>(readings.data()),
                             &UserRows::Match, &UserRows::Match);
    const std::string text = Sjis(u"明日はｙ６で読む。");
    const ChunkSound sound = Say(text, &dic);
    ASSERT_EQ(sound.error, "");
    EXPECT_EQ(
        Described(text, sound),
        "_= ア=明日 ス=明日 ワ=は ヨ=ｙ６ ミ=ｙ６ ロ=ｙ６ ク=ｙ６ デ=で ヨ=読む ム=読む _=。");
    // Without the dictionary the engine reads 明日 its own way.
    EXPECT_EQ(Described(text, Say(text)).rfind("_= ア=明日 シ=明日 タ=明日 ", 0), 0u);
}

TEST(NaturalAlignment, UnplacedMorphemesTakeTheBytesBetweenTheirNeighbours) {
    // Built by hand: the engine text "AB C" and morphemes A, ?, C where ? is not in the text.
    EngineText text;
    text.folded = {U'a', U'b', U' ', U'c'};
    text.sources = {{0, 1}, {1, 2}, {2, 3}, {3, 4}};
    std::vector<Morpheme> morphemes(3);
    morphemes[0].surface = "Ａ";
    morphemes[1].surface = "何";
    morphemes[2].surface = "ｃ";
    const auto placed = PlaceMorphemes(text, morphemes, {0, 4});
    EXPECT_EQ(placed[0].range, (ByteRange{0, 1}));
    EXPECT_EQ(placed[1].range, (ByteRange{1, 3}));
    EXPECT_EQ(placed[2].range, (ByteRange{3, 4}));
}

} // namespace
} // namespace yomi6::natural
