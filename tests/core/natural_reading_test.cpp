// The natural voice says what the program reads: the words the automatic reading says otherwise
// than they are written (numbers, words read by the words beside them, characters beyond JIS X
// 0208, Aozora rubies and gaiji) as it says them, the notation not at all, and every word of a
// chunk however long its engine text grows. The analyzer is pinned to IPADIC (installed with the
// program) so that the readings do not depend on the dictionaries of the machine.
#include "analysis/analyzer_loader.h"
#include "analysis/mecab_analyzer.h"
#include "natural/chunk_synthesis.h"
#include "natural/engine_text.h"
#include "natural/natural_pass.h"
#include "natural_engine_support.h"
#include "support/scoped_env.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <optional>
#include <set>
#include <string>

namespace yomi6::natural {
namespace {

using test::Sjis;
using test::Utf8Of;

class NaturalReading : public ::testing::Test {
protected:
    yomi6::test::ScopedEnv m_analyzer{kAnalyzerDictionaryVariable,
                                      std::string(kDefaultAnalyzerDictionary)};
};

struct Case {
    std::u16string text;
    std::string units;
};

void ExpectSaid(const Case& c) {
    const std::string text = Sjis(c.text);
    const ChunkSound sound = test::Say(text);
    ASSERT_EQ(sound.error, "") << Utf8Of(text);
    EXPECT_EQ(test::Described(text, sound, false), c.units) << Utf8Of(text);
}

// The source bytes of text that no spoken mora covers.
std::set<std::size_t> Unsaid(const std::string& text, const std::vector<NaturalUnit>& units) {
    std::set<std::size_t> left;
    for (std::size_t i = 0; i < text.size(); ++i) {
        left.insert(i);
    }
    for (const NaturalUnit& u : units) {
        for (std::size_t i = u.source.begin; !u.silent && i < u.source.end; ++i) {
            left.erase(i);
        }
    }
    return left;
}

TEST_F(NaturalReading, NumbersAndWordsReadByTheirContextAreSaidAsTheReadingSaysThem) {
    const Case cases[] = {
        // The engine alone: ニジューサンニン, ゴジューロクスン, トニノボル.
        {u"二三人", "ニ=二三人 サ=二三人 ン=二三人 ニ=二三人 ン=二三人"},
        {u"五六寸", "ゴ=五六寸 ロ=五六寸 ク=五六寸 ス=五六寸 ン=五六寸"},
        {u"都に上る", "ミ=都 ヤ=都 コ=都 ニ=に ノ=上る ボ=上る ル=上る"},
        // A number with its counter, on the whole of it.
        {u"2026年", "ニ=2026年 セ=2026年 ン=2026年 ニ=2026年 ジュ=2026年 ー=2026年 ロ=2026年 "
                    "ク=2026年 ネ=2026年 ン=2026年"},
    };
    for (const Case& c : cases) {
        ExpectSaid(c);
    }
}

TEST_F(NaturalReading, CharactersBeyondJisX0208AreSaidAsTheReadingSaysThem) {
    // The engine alone says none of them.
    const Case cases[] = {
        {u"髙橋さん", "タ=髙橋 カ=髙橋 ハ=髙橋 シ=髙橋 サ=さん ン=さん"},
        {u"﨑山", "サ=﨑山 キ=﨑山 ヤ=﨑山 マ=﨑山"},
        {u"㈱", "カ=㈱ ブ=㈱ シ=㈱ キ=㈱ ガ=㈱ イ=㈱ シャ=㈱"},
        {u"3㎞", "サ=3 ン=3 キ=㎞ ロ=㎞ メ=㎞ ー=㎞ ト=㎞ ル=㎞"},
        {u"①", "イ=① チ=①"},
        {u"Ⅱ", "ニ=Ⅱ"},
        {u"㍉", "ミ=㍉ リ=㍉"},
    };
    for (const Case& c : cases) {
        ExpectSaid(c);
    }
}

// The units of a whole natural pass over text, as Described writes them.
std::string PassUnits(const std::string& text, bool aozora) {
    NaturalPassOptions options;
    options.synthesis.setup = test::TestSetup();
    options.aozora = aozora;
    NaturalPass pass(text, std::nullopt, options);
    ChunkSound all;
    while (std::optional<PassChunk> chunk = pass.Next()) {
        all.units.insert(all.units.end(), chunk->units.begin(), chunk->units.end());
    }
    return test::Described(text, all, false);
}

TEST_F(NaturalReading, AozoraNotationIsReadAsTheBook) {
    const std::string text =
        Sjis(u"吾輩《わがはい》は猫。［＃「猫」に傍点］森※［＃「區＋鳥」、第3水準1-94-69］外の"
             u"｜丹塗《にぬり》。\r\n底本：「猫」\r\n");
    // The ruby for its base and not after it, the gaiji as its character (鷗 in its common
    // form), the bar, the note and the colophon silent.
    EXPECT_EQ(PassUnits(text, true),
              "ワ=吾輩 ガ=吾輩 ハ=吾輩 イ=吾輩 ワ=は ネ=猫 コ=猫 _=。 モ=森 リ=森 "
              "オ=※［＃「區＋鳥」、第3水準1-94-69］外 ー=※［＃「區＋鳥」、第3水準1-94-69］外 "
              "ガ=※［＃「區＋鳥」、第3水準1-94-69］外 イ=※［＃「區＋鳥」、第3水準1-94-69］外 ノ=の "
              "ニ=丹塗 ヌ=丹塗 リ=丹塗 _=。");
    // Without the notation every character is said.
    const std::string plain = PassUnits(text, false);
    EXPECT_NE(plain.find("=わがはい"), std::string::npos);
    EXPECT_NE(plain.find("=底本"), std::string::npos);
}

TEST_F(NaturalReading, AChunkIsNeverCutInsideARubysBase) {
    // A base of 30 characters after ｜, where a chunk of 10 would end: the chunk ends before it
    // and the next holds it whole, said as its ruby.
    const std::string text = Sjis(u"あいうえおかきく｜一二三四五六七八九十一二三四五六七八九十一"
                                  u"二三四五六七八九十《ながい》です。");
    NaturalPassOptions options;
    options.synthesis.setup = test::TestSetup();
    options.aozora = true;
    options.chunks = {10, 10};
    NaturalPass pass(text, std::nullopt, options);
    const std::size_t base = text.find(Sjis(u"｜"));
    std::string said;
    while (std::optional<PassChunk> chunk = pass.Next()) {
        EXPECT_FALSE(chunk->source.begin > base + 2 && chunk->source.begin < base + 62)
            << chunk->source.begin;
        for (const NaturalUnit& u : chunk->units) {
            said += u.mora;
        }
    }
    EXPECT_EQ(said, "アイウエオカキクナガイデス");
}

// A user dictionary of one row: ｙ６ read as twenty kana.
struct LongWord {
    static int Match(const unsigned char* text) {
        return std::strncmp(reinterpret_cast<const char*>(text), "\x82\x99\x82\x55", 4) == 0 ? 0
                                                                                             : -1;
    }
};

TEST_F(NaturalReading, NothingOfALongEngineTextIsLost) {
    // 200 Latin letters, each spelled in two to four kana: every letter is said, the last too.
    std::string letters;
    for (int k = 0; k < 200; ++k) {
        letters.push_back(static_cast<char>('a' + k % 26));
    }
    const ChunkSound spelled = test::Say(letters);
    ASSERT_EQ(spelled.error, "");
    EXPECT_TRUE(Unsaid(letters, spelled.units).empty());
    // Words apart, each blank three bytes for the engine: nothing is skipped.
    std::string words;
    for (int k = 0; k < 100; ++k) {
        words += "abc def ";
    }
    const ChunkSound apart = test::Say(words);
    ASSERT_EQ(apart.error, "");
    const std::set<std::size_t> blanks = [&] {
        std::set<std::size_t> b;
        for (std::size_t i = 3; i < words.size(); i += 4) {
            b.insert(i);
        }
        return b;
    }();
    EXPECT_EQ(Unsaid(words, apart.units), blanks);
    // A user's word of twenty kana, 150 times: 3,000 morae.
    static const std::array<char, kWordSlotSize> word{"\x82\x99\x82\x55"};
    static const std::array<char, kYomiSlotSize> reading{
        "\xB1\xB2\xB3\xB4\xB5\xB6\xB7\xB8\xB9\xBA\xBB\xBC\xBD\xBE\xBF\xC0\xC1\xC2\xC3\xC4"};
    const DictionaryView dic(reinterpret_cast<const char(*)[kWordSlotSize]>(word.data()),
                             reinterpret_cast<const char(*)[kYomiSlotSize]>(reading.data()),
                             &LongWord::Match, &LongWord::Match);
    std::string repeated;
    for (int k = 0; k < 150; ++k) {
        repeated += "\x82\x99\x82\x55";
    }
    const ChunkSound registered = test::Say(repeated, &dic);
    ASSERT_EQ(registered.error, "");
    std::size_t morae = 0;
    for (const NaturalUnit& u : registered.units) {
        morae += u.silent ? 0 : 1;
    }
    EXPECT_EQ(morae, 3000u);
    EXPECT_TRUE(Unsaid(repeated, registered.units).empty());
}

TEST(NaturalEngineText, CutIntoRunsTheEngineReadsWhole) {
    const std::string text = Sjis(u"あいう、えお かきくけこ");
    EngineText engine = BuildEngineText(text, {0, text.size()}, nullptr, "/nonexistent");
    // No ASCII reaches the engine: it would widen it past its buffer.
    EXPECT_EQ(engine.utf8, "あいう、えお　かきくけこ");
    const auto pieces = [&](std::size_t maxBytes) {
        std::vector<std::string> out;
        for (const EngineText& part : SplitEngineText(engine, maxBytes)) {
            EXPECT_LE(part.utf8.size(), maxBytes);
            EXPECT_EQ(part.folded.size(), part.sources.size());
            out.push_back(part.utf8);
        }
        return out;
    };
    EXPECT_EQ(pieces(900), (std::vector<std::string>{"あいう、えお　かきくけこ"}));
    // After the pause sign, else the blank, within the limit.
    EXPECT_EQ(pieces(24), (std::vector<std::string>{"あいう、", "えお　かきくけこ"}));
    EXPECT_EQ(pieces(12), (std::vector<std::string>{"あいう、", "えお　", "かきくけ", "こ"}));
    // Never before a small kana or a long-vowel mark.
    const std::string kana = Sjis(u"キャーキャー");
    engine = BuildEngineText(kana, {0, kana.size()}, nullptr, "/nonexistent");
    std::vector<std::string> parts;
    for (const EngineText& part : SplitEngineText(engine, 12)) {
        parts.push_back(part.utf8);
    }
    EXPECT_EQ(parts, (std::vector<std::string>{"キャー", "キャー"}));
}
} // namespace
} // namespace yomi6::natural
