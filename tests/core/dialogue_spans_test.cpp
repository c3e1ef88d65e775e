#include "support/sjis.h"
#include "text/dialogue_spans.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace yomi6 {
namespace {

using test::Sjis;

// The spans of a UTF-8 text, each as the UTF-8 text it covers, for readable expectations.
std::vector<std::string> SpanTexts(const std::string& utf8) {
    const std::string bytes = Sjis(utf8);
    std::vector<std::string> out;
    for (const DialogueSpan& span : DialogueSpans(bytes)) {
        out.push_back(bytes.substr(span.begin, span.end - span.begin));
    }
    return out;
}

std::vector<std::string> Expected(const std::vector<std::string>& utf8) {
    std::vector<std::string> out;
    out.reserve(utf8.size());
    for (const std::string& s : utf8) {
        out.push_back(Sjis(s));
    }
    return out;
}

struct SpanCase {
    const char* name;
    std::string text;
    std::vector<std::string> spans;
};

TEST(DialogueSpansTest, BracketsNestingLineBreaksAndStrays) {
    const std::vector<SpanCase> cases = {
        {"narration only", "猫がいた。", {}},
        {"a line then narration", "「はい」と言った。", {"「はい」"}},
        {"two lines", "「はい」「いいえ」", {"「はい」", "「いいえ」"}},
        {"double brackets alone", "本の名は『こころ』だ。", {"『こころ』"}},
        {"nested stays one span", "「母が『行くな』と」言った。", {"「母が『行くな』と」"}},
        {"same kind nested", "「あ「い」う」え", {"「あ「い」う」"}},
        {"across a line break", "「長い\r\n台詞」地の文", {"「長い\r\n台詞」"}},
        {"across a bare line feed", "「長い\n台詞」地", {"「長い\n台詞」"}},
        {"stray opening ends at the paragraph",
         "「閉じない\n続き\r\n\r\n次の段落。「はい」",
         {"「閉じない\n続き", "「はい」"}},
        {"a line of blanks ends a paragraph", "「閉じない\n　 \n後", {"「閉じない"}},
        {"stray opening runs to the end", "地の文「閉じない", {"「閉じない"}},
        {"stray closing ignored", "地の文」まだ地の文「はい」", {"「はい」"}},
        {"closing of another kind ignored", "「あ』い」う", {"「あ』い」"}},
        {"outer closing closes the inner", "「あ『い」う』え", {"「あ『い」"}},
        {"notation quotes are not lines", "腹［＃「腹」に傍点］が立つ「はい」", {"「はい」"}},
        {"gaiji note inside a line",
         "「※［＃「木＋(『』)」、第3水準］だ」",
         {"「※［＃「木＋(『』)」、第3水準］だ」"}},
        {"ruby is not a line", "｜吾輩《「わがはい」》は「猫」", {"「猫」"}},
        {"ruby inside a line", "「吾輩《わがはい》だ」", {"「吾輩《わがはい》だ」"}},
        {"an unclosed note ends with its line", "［＃「注\n「はい」", {"「はい」"}},
        {"half-width brackets are not lines", "｢はい｣", {}},
    };
    for (const SpanCase& c : cases) {
        EXPECT_EQ(SpanTexts(c.text), Expected(c.spans)) << c.name;
    }
}

TEST(DialogueSpansTest, SpanBytesStartAtTheOpeningBracket) {
    // Two-byte characters whose trail byte equals a bracket's (ソ is 0x83 0x5C, 表 0x95 0x5C)
    // and kana around them never start a span; positions are bytes of the whole text.
    const std::string text = Sjis("ソ表「あ」");
    ASSERT_EQ(DialogueSpans(text), (std::vector<DialogueSpan>{{4, 10}}));
    EXPECT_TRUE(DialogueSpans(std::string("\x81")).empty()); // a lone lead byte at the end
    EXPECT_TRUE(DialogueSpans("").empty());
}

TEST(DialogueSpansTest, ATextThatGoesOnInsideALine) {
    // What came before ends inside a line only while a bracket is open in its paragraph.
    EXPECT_TRUE(EndsInsideLine(Sjis("地「はい、")));
    EXPECT_TRUE(EndsInsideLine(Sjis("「はい\r\n『そう")));
    EXPECT_FALSE(EndsInsideLine(Sjis("地「はい」")));
    EXPECT_FALSE(EndsInsideLine(Sjis("「はい\r\n\r\n")));
    EXPECT_FALSE(EndsInsideLine(Sjis("地」")));
    // The rest: its start is inside a line up to the closing bracket, of either kind.
    const std::string rest = Sjis("そうです」と言った。「うん」");
    EXPECT_EQ(DialogueSpans(rest, true), (std::vector<DialogueSpan>{{0, 10}, {20, 28}}));
    EXPECT_EQ(DialogueSpans(Sjis("ええ』と"), true), (std::vector<DialogueSpan>{{0, 6}}));
    EXPECT_EQ(DialogueSpans(Sjis("ええ\r\n\r\n次"), true), (std::vector<DialogueSpan>{{0, 4}}));
    EXPECT_EQ(DialogueSpans(rest), (std::vector<DialogueSpan>{{20, 28}}));
}

TEST(DialogueSpansTest, RunsAlternateWithinTheRange) {
    const std::vector<DialogueSpan> spans = {{4, 10}, {20, 30}};
    EXPECT_EQ(VoiceRuns(spans, 0, 40),
              (std::vector<VoiceRun>{
                  {0, 4, false}, {4, 10, true}, {10, 20, false}, {20, 30, true}, {30, 40, false}}));
    // A range starting or ending inside a span keeps its part of the span as dialogue.
    EXPECT_EQ(VoiceRuns(spans, 6, 25),
              (std::vector<VoiceRun>{{6, 10, true}, {10, 20, false}, {20, 25, true}}));
    // Spans touching the range's edges give no empty run.
    EXPECT_EQ(VoiceRuns(spans, 4, 30),
              (std::vector<VoiceRun>{{4, 10, true}, {10, 20, false}, {20, 30, true}}));
    EXPECT_EQ(VoiceRuns(spans, 10, 20), (std::vector<VoiceRun>{{10, 20, false}}));
    EXPECT_EQ(VoiceRuns({}, 3, 9), (std::vector<VoiceRun>{{3, 9, false}}));
    EXPECT_TRUE(VoiceRuns(spans, 7, 7).empty());
}

} // namespace
} // namespace yomi6
