// The classes of Japanese characters and the UTF-8 steps they are read with: the edges of each
// block, and text that is empty, ASCII, half-width, or cut short.
#include "text/char_classes.h"
#include "text/utf8_codec.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace yomi6 {
namespace {

TEST(CharClassesTest, EachBlockEndsWhereItsLastCharacterDoes) {
    EXPECT_FALSE(IsHiragana(0x3040));
    EXPECT_TRUE(IsHiragana(U'ぁ'));
    EXPECT_TRUE(IsHiragana(U'ゟ'));
    EXPECT_FALSE(IsHiragana(U'゠')); // U+30A0, the first of the katakana block, is neither
    EXPECT_FALSE(IsKatakana(U'゠'));
    EXPECT_TRUE(IsKatakana(U'ァ'));
    EXPECT_TRUE(IsKatakana(U'ヶ'));
    EXPECT_FALSE(IsKatakana(U'ヷ'));
    EXPECT_FALSE(IsKatakana(U'・'));
    EXPECT_TRUE(IsKatakana(U'ー'));
    EXPECT_FALSE(IsKatakana(U'ｱ')); // half-width
    EXPECT_FALSE(IsKatakana(U'ｰ'));
    EXPECT_FALSE(IsKanji(0x4DFF)); // a hexagram, below the block
    EXPECT_TRUE(IsKanji(U'一'));
    EXPECT_TRUE(IsKanji(0x9FFF));
    EXPECT_FALSE(IsKanji(0xA000));
    EXPECT_FALSE(IsKanji(U'々'));
    EXPECT_FALSE(IsKanji(U'〇'));
}

TEST(CharClassesTest, WordsOfOneClass) {
    EXPECT_TRUE(IsKatakanaWord("カルボニル"));
    EXPECT_TRUE(IsKatakanaWord("ー"));
    EXPECT_FALSE(IsKatakanaWord(""));
    EXPECT_FALSE(IsKatakanaWord("ABC"));
    EXPECT_FALSE(IsKatakanaWord("ｶﾀｶﾅ"));
    EXPECT_FALSE(IsKatakanaWord("カタカナa"));
    EXPECT_FALSE(IsKatakanaWord("カタかな"));
    EXPECT_TRUE(IsKanjiCompound("殺人"));
    EXPECT_FALSE(IsKanjiCompound("鬼")); // one kanji is no compound
    EXPECT_FALSE(IsKanjiCompound("人々"));
    EXPECT_FALSE(IsKanjiCompound("円錐A"));
    EXPECT_FALSE(IsKanjiCompound(""));
    EXPECT_TRUE(HasHiragana("にぎわい"));
    EXPECT_TRUE(HasHiragana("大違い"));
    EXPECT_FALSE(HasHiragana("カタカナ"));
    EXPECT_FALSE(HasHiragana(""));
    EXPECT_TRUE(StartsWithKatakana("ーあ"));
    EXPECT_TRUE(StartsWithKatakana("キロメートル"));
    EXPECT_FALSE(StartsWithKatakana("きろ"));
    EXPECT_FALSE(StartsWithKatakana("ｷﾛ"));
    EXPECT_FALSE(StartsWithKatakana(""));
    // Two characters or more with a kanji: 人々 is a run, one kanji or kana alone is not.
    EXPECT_TRUE(HoldsKanjiRun("人々"));
    EXPECT_TRUE(HoldsKanjiRun("a県"));
    EXPECT_FALSE(HoldsKanjiRun("県"));
    EXPECT_FALSE(HoldsKanjiRun("かな"));
    EXPECT_FALSE(HoldsKanjiRun(""));
}

// A byte that starts no character is of no class, and a scan steps over it alone, never past
// the end: what is after it is still seen.
TEST(CharClassesTest, MalformedBytesAreOfNoClass) {
    const std::string cut = "カ\xE3\x82"; // カ and a katakana cut short
    EXPECT_FALSE(IsKatakanaWord(cut));
    EXPECT_TRUE(StartsWithKatakana(cut));
    EXPECT_FALSE(StartsWithKatakana("\xE3\x82"));
    EXPECT_FALSE(IsKatakanaWord("\xE3\x83\x41")); // a lead byte of ァ..ヶ, not its continuation
    EXPECT_FALSE(HasHiragana("\xE3\x81"));
    EXPECT_TRUE(HasHiragana("\x81\xE3\x81\x82")); // a stray continuation byte, then あ
    EXPECT_FALSE(IsKanjiCompound("漢字\xE5"));
    EXPECT_TRUE(HoldsKanjiRun("\xFF漢")); // the stray byte counts as a character
}

TEST(Utf8StepTest, CharactersAndStrayBytes) {
    EXPECT_EQ(Utf8Step(""), 0u);
    EXPECT_EQ(Utf8Step("a"), 1u);
    EXPECT_EQ(Utf8Step("é"), 2u);
    EXPECT_EQ(Utf8Step("あい"), 3u);
    EXPECT_EQ(Utf8Step("𠮷"), 4u);
    EXPECT_EQ(Utf8Step("\x80"), 1u);
    EXPECT_EQ(Utf8Step("\xC0\xAF"), 1u); // overlong
    EXPECT_EQ(Utf8Step("\xF0\x9F\x98"), 1u);
    const Utf8Char a = FirstUtf8Char("あ");
    EXPECT_EQ(a.codePoint, U'あ');
    EXPECT_EQ(a.length, 3u);
    EXPECT_EQ(FirstUtf8Char("𠮷").codePoint, U'𠮷');
    EXPECT_EQ(FirstUtf8Char("").length, 0u);
    const Utf8Char cut = FirstUtf8Char("\xE3\x81");
    EXPECT_EQ(cut.length, 0u);
    EXPECT_EQ(cut.codePoint, U'\uFFFD');
    // A scan over text that ends in a cut character ends at its end.
    const std::string_view text = "aあ\xE3\x81";
    std::size_t at = 0;
    int steps = 0;
    while (at < text.size()) {
        at += Utf8Step(text.substr(at));
        ++steps;
    }
    EXPECT_EQ(at, text.size());
    EXPECT_EQ(steps, 4);
}

} // namespace
} // namespace yomi6
