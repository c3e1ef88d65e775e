// Cutting a long text into passes and finding the word around a unit.
#include "playback/pass_planner.h"
#include "reading/word_ranges.h"
#include "support/sjis.h"

#include <gtest/gtest.h>

#include <string>

using namespace yomi6;
using yomi6::test::Sjis;

TEST(PassPlanner, LastPieceIsTakenWholeAndLongerTextsEndAfterTheLastSentenceOrLine) {
    const std::string text = Sjis("今日は晴れ。明日は雨\r\n傘を持つ");
    EXPECT_EQ(PassCutLength(text, true, 100), text.size());
    // Within 100 bytes the line end is the last break.
    EXPECT_EQ(PassCutLength(text, false, 100), Sjis("今日は晴れ。明日は雨\r\n").size());
    // Within 16 bytes only the full stop is.
    EXPECT_EQ(PassCutLength(text, false, 16), Sjis("今日は晴れ。").size());
    // The final piece that is longer than a pass is cut like any other.
    EXPECT_EQ(PassCutLength(text, true, 16), Sjis("今日は晴れ。").size());
    // Half-width and ASCII sentence ends.
    EXPECT_EQ(PassCutLength("ab. cd! ef? gh", false, 12), std::string("ab. cd! ef?").size());
    EXPECT_EQ(PassCutLength(Sjis("ｱｲ｡ｳｴ"), false, 4), 3u);
    // A decimal point ends no sentence: no break within 6 bytes, so the cut is the last whole
    // character, not the middle of 3.14.
    EXPECT_EQ(PassCutLength("v3.14 ok. z", false, 6), 6u);
}

TEST(PassPlanner, NeverSplitsACharacterOrALineEndPair) {
    // No break at all: the cut falls after the last whole two-byte character.
    const std::string kanji = Sjis("漢字漢字漢字");
    EXPECT_EQ(PassCutLength(kanji, false, 5), 4u);
    // 0x81 0x42 is 。 only as a pair: a trail byte 0x42 alone ('B') after a lead is no break.
    const std::string tricky = Sjis("ABあ。");
    EXPECT_EQ(PassCutLength(tricky, false, 5), 4u);
    EXPECT_EQ(PassCutLength(tricky, false, 6), 6u);
    // CR LF straddling the limit stays together: the cut falls before it.
    EXPECT_EQ(PassCutLength("abc\r\nd", false, 4), 3u);
    // A pair at the start with a tiny limit still makes progress.
    EXPECT_EQ(PassCutLength(kanji, false, 1), 2u);
    EXPECT_EQ(PassCutLength("", false, 10), 0u);
}

TEST(PassPlanner, NoCutFallsInsideANoteOrARuby) {
    // A full stop inside ［＃…］ is no break: the cut falls after the sentence before the note, or
    // after the sentence that follows it.
    const std::string text = Sjis("あいう。かき［＃ここで。字下げ］くけこ。さし");
    const std::size_t beforeNote = Sjis("あいう。").size();
    const std::size_t inside = Sjis("あいう。かき［＃ここで。").size();
    EXPECT_EQ(PassCutLength(text, false, inside + 2), beforeNote);
    EXPECT_EQ(PassCutLength(text, false, text.size() - 2),
              Sjis("あいう。かき［＃ここで。字下げ］くけこ。").size());
    // The same inside a ruby.
    const std::string ruby = Sjis("一つ。漢字《かん。じ》です");
    EXPECT_EQ(PassCutLength(ruby, false, Sjis("一つ。漢字《かん。").size() + 2),
              Sjis("一つ。").size());
    // No break before the note: the cut falls before its opening mark.
    const std::string noBreak = Sjis("かき［＃ここで。字下げ］");
    EXPECT_EQ(PassCutLength(noBreak, false, Sjis("かき［＃ここで。").size()), Sjis("かき").size());
    // A mark that the line does not close is ordinary text: its breaks count, and so does a
    // plain bracket without ＃.
    const std::string open = Sjis("あ《い。う\r\nえお");
    EXPECT_EQ(PassCutLength(open, false, open.size() - 1), Sjis("あ《い。う\r\n").size());
    const std::string square = Sjis("あ［い。う］え");
    EXPECT_EQ(PassCutLength(square, false, square.size() - 1), Sjis("あ［い。").size());
    // A note longer than a pass is still cut, at a sentence end inside it.
    const std::string longNote = Sjis("［＃ここで。字下げ］");
    EXPECT_EQ(PassCutLength(longNote, false, longNote.size() - 2), Sjis("［＃ここで。").size());
}

TEST(PassPlanner, ConsecutiveCutsCoverALongTextWithoutLossOrOverlap) {
    std::string text;
    for (int i = 0; i < 900; ++i) {
        text += Sjis(i % 7 == 6 ? "これは試験の文です。\r\n" : "長い長い文章が続きます、");
    }
    ASSERT_GT(text.size(), 3 * kPassSourceBytes);
    std::size_t at = 0;
    int passes = 0;
    while (at < text.size()) {
        const std::string_view rest = std::string_view(text).substr(at);
        const std::size_t cut = PassCutLength(rest, true);
        ASSERT_GT(cut, 0u);
        ASSERT_LE(cut, kPassSourceBytes);
        const std::string_view piece = rest.substr(0, cut);
        if (at + cut < text.size()) {
            EXPECT_TRUE(piece.ends_with(Sjis("。\r\n")) || piece.ends_with(Sjis("。")))
                << "pass " << passes << " ends mid-sentence";
        }
        at += cut;
        ++passes;
    }
    EXPECT_EQ(at, text.size());
    EXPECT_GE(passes, 4);
}

TEST(PassPlanner, AdvanceFollowsTheReadingButNeverStandsStill) {
    EXPECT_EQ(PassAdvance(4000, 4000), 4000u);
    EXPECT_EQ(PassAdvance(4000, 2500), 2500u); // the reading buffer filled first
    EXPECT_EQ(PassAdvance(4000, 0), 4000u);
    EXPECT_EQ(PassAdvance(100, 300), 100u);
}

TEST(WordRanges, RunsOfOneScriptAreWordsAndOtherCharactersStandAlone) {
    const std::string text = Sjis("東京々はカレーと ABC12、ｱｲｳ");
    const std::vector<SourceRange> words = WordRanges(text);
    const std::vector<SourceRange> expected = {
        {0, 6},   // 東京々
        {6, 8},   // は
        {8, 14},  // カレー
        {14, 16}, // と
        {16, 17}, // blank
        {17, 22}, // ABC12
        {22, 24}, // 、
        {24, 27}, // ｱｲｳ
    };
    EXPECT_EQ(words, expected);
    // The word around a unit inside a word, across two words, and an empty unit.
    EXPECT_EQ(WordAround(words, {10, 12}), (SourceRange{8, 14}));
    EXPECT_EQ(WordAround(words, {4, 7}), (SourceRange{0, 8}));
    EXPECT_EQ(WordAround(words, {25, 26}), (SourceRange{24, 27}));
    EXPECT_EQ(WordAround(words, {9, 9}), (SourceRange{9, 9}));
    EXPECT_EQ(WordAround({}, {3, 5}), (SourceRange{3, 5}));
}
