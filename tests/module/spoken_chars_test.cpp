// Characters said by name (CHAR, spelling mode) and punctuation said by the mode's table, with
// the real analyzer of the automatic reading.
#include "module/spoken_chars.h"

#include "analysis/analyzer_loader.h"

#include <gtest/gtest.h>

#include <string>

namespace yomi6::module {
namespace {

// Whether text could read a character's code aloud: digits or Latin letters in it.
bool HasCodeLikeChars(const std::string& text) {
    return text.find_first_of("0123456789ABCDEFabcdefUu+") != std::string::npos;
}

TEST(SpokenChars, AKanjiIsSaidAsTheWordTheAnalyzerReadsIt) {
    AnalyzerLoader loader;
    std::string error;
    Analyzer* analyzer = loader.Get(error);
    ASSERT_NE(analyzer, nullptr) << error;
    EXPECT_EQ(CharName("山", analyzer), "ヤマ");
    EXPECT_EQ(CharName("川", analyzer), "カワ");
    // Without the analyzer, or for a character the analyzer has no word for, a kanji is said
    // as one, never by its code.
    EXPECT_EQ(CharName("山", nullptr), "かんじ");
    for (const char* odd : {"𠀋", "😀", "\u2603", "\uE000"}) {
        const std::string said = CharName(odd, analyzer);
        EXPECT_FALSE(said.empty()) << odd;
        EXPECT_FALSE(HasCodeLikeChars(said)) << odd << " -> " << said;
        EXPECT_NE(said, odd);
    }
}

TEST(SpokenChars, KanaLettersDigitsAsThemselvesMarksAndBlanksByName) {
    for (const char* itself : {"あ", "ア", "ｱ", "a", "Z", "7", "Ａ", "９", "ー"}) {
        EXPECT_EQ(CharName(itself, nullptr), itself);
    }
    EXPECT_EQ(CharName("。", nullptr), "まる");
    EXPECT_EQ(CharName("、", nullptr), "てん");
    EXPECT_EQ(CharName("?", nullptr), "はてな");
    EXPECT_EQ(CharName("！", nullptr), "びっくり");
    EXPECT_EQ(CharName(" ", nullptr), "スペース");
    EXPECT_EQ(CharName("　", nullptr), "スペース");
}

TEST(SpokenChars, SpellingSaysEachCharacterAsCharWould) {
    AnalyzerLoader loader;
    std::string error;
    Analyzer* analyzer = loader.Get(error);
    ASSERT_NE(analyzer, nullptr) << error;
    EXPECT_EQ(SpelledText("山とA1。", analyzer), "ヤマ、と、A、1、まる");
    EXPECT_EQ(SpelledText("", analyzer), "");
}

TEST(SpokenChars, EachModeSaysItsMarksByName) {
    const std::string text = "はい、@です。(1.5)";
    EXPECT_EQ(NamedPunctuation(text, PunctuationMode::None), text);
    // some: the server's usual set (@ among them; 。、 and brackets not).
    EXPECT_EQ(NamedPunctuation(text, PunctuationMode::Some), "はい、アット です。(1.5)");
    EXPECT_EQ(NamedPunctuation(text, PunctuationMode::Most),
              "はい、アット です。かっこ 1.5かっことじ ");
    // all: every mark, a mark ending a phrase kept after its name for the pause; a point
    // inside a number stays part of it.
    EXPECT_EQ(NamedPunctuation(text, PunctuationMode::All),
              "はいてん、アット ですまる。かっこ 1.5かっことじ ");
    EXPECT_EQ(NamedPunctuation("終わり.", PunctuationMode::Some), "終わりピリオド.");
}

} // namespace
} // namespace yomi6::module
