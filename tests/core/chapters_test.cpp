#include "chapters/chapters.h"
#include "chapters/plain_headings.h"

#include <gtest/gtest.h>

#include <string>

namespace yomi6 {
namespace {

std::u16string Titles(const std::vector<Chapter>& chapters) {
    std::u16string out;
    for (const Chapter& chapter : chapters) {
        out += static_cast<char16_t>(u'0' + chapter.level);
        out += u':';
        out += chapter.title;
        out += u'|';
    }
    return out;
}

TEST(ChaptersTest, AozoraHeadingsOfEveryLevelAndFormAreFoundWithTheirLineStarts) {
    const std::u16string text =
        u"作品名\n"
        u"［＃３字下げ］第一部［＃「第一部」は大見出し］\n"
        u"［＃８字下げ］一［＃「一」は中見出し］\n"
        u"　本文です。第二章のことは後で書く。\n"
        u"［＃５字下げ］［＃小見出し］旅《たび》の｜始《はじ》め［＃小見出し終わり］\n"
        u"［＃ここから窓中見出し］\n"
        u"長い\n"
        u"見出し\n"
        u"［＃ここで窓中見出し終わり］\n"
        u"本文。\n";
    const std::vector<Chapter> chapters = FindChapters(text);
    EXPECT_EQ(Titles(chapters), u"1:第一部|2:一|3:旅の始め|2:長い　見出し|");
    ASSERT_EQ(chapters.size(), 4u);
    EXPECT_EQ(chapters[0].begin, text.find(u"［＃３字下げ］"));
    EXPECT_EQ(chapters[1].begin, text.find(u"［＃８字下げ］"));
    EXPECT_EQ(chapters[3].begin, text.find(u"［＃ここから"));
}

TEST(ChaptersTest, AMarkedTextTakesNoPlainHeadingLinesAndBrokenNotesAreNoHeadings) {
    // The marked headings alone: 二 on its own line and ＊＊＊ are the book's text here.
    const std::u16string text = u"第一章［＃「第一章」は中見出し］\n二\n＊＊＊\n"
                                u"［＃「」は中見出し］\n［＃中見出し］閉じない見出し\n"
                                u"［＃「あ」は中見出しだ］\n";
    EXPECT_EQ(Titles(FindChapters(text)), u"2:第一章|");
}

TEST(ChaptersTest, PlainHeadingLinesFollowTheRuleAndSentencesNeverDo) {
    const std::u16string text = u"第一部\r\n"
                                u"　第3章　旅立ち\n"
                                u"第十二話\n"
                                u"第2節\n"
                                u"プロローグ\n"
                                u"十二\n"
                                u"３．\n"
                                u"＊　＊　＊\n"
                                u"第一章で彼は言った。\n" // a sentence
                                u"第三者の話\n"           // 第三者 is no counter
                                u"第一章から第三章まで読み進めた日のことを、あとで思い出す\n"
                                u"一つ\n"           // a word, not a number
                                u"十二月二十五日\n" // a date
                                u"＊＊\n"           // two signs
                                u"序章が好きだ\n";
    EXPECT_EQ(
        Titles(FindChapters(text)),
        u"1:第一部|2:第3章　旅立ち|2:第十二話|3:第2節|2:プロローグ|2:十二|2:３．|3:＊　＊　＊|");
    EXPECT_EQ(FindChapters(text)[1].begin, text.find(u"　第3章"));
}

TEST(ChaptersTest, EmptyAndHeadinglessTextsHaveNoChapters) {
    EXPECT_TRUE(FindChapters(u"").empty());
    EXPECT_TRUE(FindChapters(u"\n\n").empty());
    EXPECT_TRUE(FindChapters(u"吾輩は猫である。名前はまだ無い。\n").empty());
    EXPECT_TRUE(FindChapters(u"［＃\n［＃「\n［＃ここで中見出し終わり］\n").empty());
}

} // namespace
} // namespace yomi6
