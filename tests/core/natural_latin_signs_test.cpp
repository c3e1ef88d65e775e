// Latin letters and signs are said by the natural voice as the automatic reading says them, not
// by the engine's own rules, and each mora still carries the source bytes it was read from. The
// automatic reading's analyzer is pinned to IPADIC (installed with the program) so that what it
// knows as a word does not depend on the dictionaries of the machine.
#include "analysis/analyzer_loader.h"
#include "analysis/mecab_analyzer.h"
#include "natural/chunk_synthesis.h"
#include "natural/engine_text.h"
#include "natural_engine_support.h"
#include "support/scoped_env.h"
#include "text/cp932_codec.h"
#include "text/utf8_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace yomi6::natural {
namespace {

using test::Sjis;
using test::Utf8Of;

TEST(NaturalLatinAndSigns, SaidAsTheAutomaticReadingSaysThem) {
    const yomi6::test::ScopedEnv dictionary(kAnalyzerDictionaryVariable,
                                            std::string(kDefaultAnalyzerDictionary));
    struct Case {
        std::u16string text;
        std::string units;
    };
    const Case cases[] = {
        // IPADIC knows no Latin word: a word the English pronouncing dictionary knows is said
        // in katakana, every mora on the whole word; an acronym or a run it does not know is
        // spelled by the fixed letter readings (the engine alone says エービーシー,
        // エックスワイズィー), each letter's morae on that letter, full-width letters as
        // half-width ones.
        {u"Linux", "リ=Linux ナ=Linux ッ=Linux ク=Linux ス=Linux"},
        {u"ABCとxyz。", "エ=A イ=A ビ=B ー=B シ=C イ=C ト=と エ=x ッ=x ク=x ス=x ワ=y イ=y ゼ=z "
                        "ッ=z ト=z _=。"},
        {u"ｘｙｚ", "エ=ｘ ッ=ｘ ク=ｘ ス=ｘ ワ=ｙ イ=ｙ ゼ=ｚ ッ=ｚ ト=ｚ"},
        // Signs the automatic reading leaves silent are a pause at most, on the sign (the engine
        // alone says アット, アンド, タス); a hyphen between letters is the reading's pause.
        {u"a＠b ＆ c＋d", "エ=a イ=a _=＠ ビ=b ー=b _= ＆  シ=c イ=c _=＋ ディ=d イ=d"},
        {u"e-mail", "イ=e イ=e _=- メ=mail エ=mail ル=mail"}, // a letter alone is spelled
        // A number with a sign in it is the number reading's, on the whole number (the engine
        // alone says -5度 as ゴド with the minus a pause).
        {u"50％、-5度", "ゴ=50％ ジュ=50％ ッ=50％ パ=50％ ア=50％ セ=50％ ン=50％ ト=50％ _=、 "
                        "マ=-5度 イ=-5度 ナ=-5度 ス=-5度 ゴ=-5度 ド=-5度"},
        // The engine says the katakana it is given with its own analysis (ﾍﾛｵ, its ヘ as the
        // particle エ); each mora is on the word.
        {u"Hello", "エ=Hello ロ=Hello オ=Hello"},
        // The engine takes the spelled letters of a word as words across the letters (エッチイ
        // イエル): each mora is still on the letter it spells.
        {u"Hxllo", "エ=H ッ=H チ=H エ=x ッ=x ク=x ス=x エ=l ル=l エ=l ル=l オ=o ー=o"},
        // Nothing but silent signs: nothing is said (the engine alone: ユービンバンゴー).
        {u"〒★", ""},
        // Brackets are left to the engine, which says them as the reading does: as nothing.
        {u"「OK」と（雨）", "_=「 オ=O ー=O ケ=K イ=K _=」 ト=と _=（ ア=雨 メ=雨 _=）"},
    };
    for (const Case& c : cases) {
        const std::string text = Sjis(c.text);
        const ChunkSound sound = test::Say(text);
        ASSERT_EQ(sound.error, "") << Utf8Of(text);
        EXPECT_EQ(test::Described(text, sound, false), c.units) << Utf8Of(text);
    }
}

TEST(NaturalLatinAndSigns, WithoutTheAnalyzerTheEngineSaysThemItsOwnWay) {
    const yomi6::test::ScopedEnv dictionary(kAnalyzerDictionaryVariable, "/nonexistent/dictionary");
    const std::string text = Sjis(u"a＠b");
    const ChunkSound sound = test::Say(text);
    ASSERT_EQ(sound.error, "");
    EXPECT_EQ(test::Described(text, sound, false), "エ=a イ=a ア=＠ ッ=＠ ト=＠ ビ=b ー=b");
}

// The run's analyzer folder (the settings' 解析辞書) is the one the letters and signs are read
// with, unless $YOMI6_MECAB_DIC names another: a folder with no dictionary in it leaves them to
// the engine, whatever the default folder holds.
TEST(NaturalLatinAndSigns, ReadWithTheRunsAnalyzerFolderUnlessTheEnvironmentNamesOne) {
    const std::string text = Sjis(u"a＠b");
    const ByteRange chunk{0, text.size()};
    const auto readByTheReading = [&](const std::string& folder) {
        const EngineText engine = BuildEngineText(text, chunk, nullptr, folder);
        return std::find(engine.fromReading.begin(), engine.fromReading.end(), true) !=
               engine.fromReading.end();
    };
    const std::string ipadic(kDefaultAnalyzerDictionary);
    {
        const yomi6::test::ScopedEnv unset(kAnalyzerDictionaryVariable, nullptr);
        EXPECT_TRUE(readByTheReading(ipadic));
        EXPECT_FALSE(readByTheReading("/nonexistent/dictionary"));
        // The chunk as it is, its ASCII in the full-width form the engine would make of it.
        EXPECT_EQ(BuildEngineText(text, chunk, nullptr, "/nonexistent/dictionary").utf8, "ａ＠ｂ");
    }
    const yomi6::test::ScopedEnv environment(kAnalyzerDictionaryVariable, ipadic);
    EXPECT_TRUE(readByTheReading("/nonexistent/dictionary"));
}

} // namespace
} // namespace yomi6::natural
