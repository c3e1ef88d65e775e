// The Aozora notation parser: ruby and its base, notes, gaiji, accents, the explaining block and
// the colophon, detection, and the text a subtitle shows.
#include "aozora/aozora_gaiji.h"
#include "aozora/aozora_notation.h"
#include "support/sjis.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace yomi6 {
namespace {

using test::Sjis;

// The bytes of each range of text.
std::vector<std::string> Bytes(const std::string& text, const std::vector<NotationRange>& ranges) {
    std::vector<std::string> out;
    for (const NotationRange& r : ranges) {
        out.push_back(text.substr(r.begin, r.end - r.begin));
    }
    return out;
}

std::string Utf8(const std::string& cp932) {
    return NotationFreeText(cp932); // no notation in the argument: its characters unchanged
}

TEST(AozoraNotationTest, RubyAfterKanjiIsSaidForTheKanjiRunBeforeIt) {
    const std::string text =
        Sjis("一人の下人《げにん》が、所々《ところどころ》関ヶ原《せきがはら》〆切《しめきり》");
    const AozoraNotation n = ParseAozoraNotation(text);
    ASSERT_EQ(n.ruby.size(), 4u);
    std::vector<std::string> bases;
    for (const RubyWord& r : n.ruby) {
        bases.push_back(Utf8(text.substr(r.base.begin, r.base.end - r.base.begin)));
    }
    EXPECT_EQ(bases, (std::vector<std::string>{"下人", "所々", "関ヶ原", "〆切"}));
    EXPECT_EQ(n.ruby[0].reading, "げにん");
    EXPECT_EQ(n.ruby[2].reading, "せきがはら");
    // The rubies themselves are silent, and nothing else.
    EXPECT_EQ(Bytes(text, n.silent),
              (std::vector<std::string>{Sjis("《げにん》"), Sjis("《ところどころ》"),
                                        Sjis("《せきがはら》"), Sjis("《しめきり》")}));
    EXPECT_EQ(NotationFreeText(text), "一人の下人が、所々関ヶ原〆切");
}

TEST(AozoraNotationTest, BarStartsTheBaseAndIsSilent) {
    const std::string text = Sjis("京都｜朱雀大路《すざくおおじ》、｜Ｘ線《エックスせん》");
    const AozoraNotation n = ParseAozoraNotation(text);
    ASSERT_EQ(n.ruby.size(), 2u);
    EXPECT_EQ(Utf8(text.substr(n.ruby[0].base.begin, n.ruby[0].base.end - n.ruby[0].base.begin)),
              "朱雀大路");
    EXPECT_EQ(Utf8(text.substr(n.ruby[1].base.begin, n.ruby[1].base.end - n.ruby[1].base.begin)),
              "Ｘ線");
    EXPECT_EQ(NotationFreeText(text), "京都朱雀大路、Ｘ線");
    // A bar with no ruby after it on its line is ordinary text.
    EXPECT_EQ(NotationFreeText(Sjis("a｜b\r\n《c》")), "a｜b\n");
}

TEST(AozoraNotationTest, RubyWithoutKanaOrWithoutBaseGivesNoWordButStaysSilent) {
    const std::string text = Sjis("ひらがな《ルビ》と漢字《》");
    const AozoraNotation n = ParseAozoraNotation(text);
    EXPECT_TRUE(n.ruby.empty());
    EXPECT_EQ(NotationFreeText(text), "ひらがなと漢字");
}

TEST(AozoraNotationTest, NotesAreSilentNestedBracketsIncludedUnclosedOnesAreText) {
    const std::string text = Sjis(
        "［＃３字下げ］一［＃「一」は中見出し］起った。［＃「［起った］」に傍点］［＃閉じない");
    EXPECT_EQ(NotationFreeText(text), "一起った。［＃閉じない");
    // ［ without ＃ is an ordinary bracket.
    EXPECT_EQ(NotationFreeText(Sjis("［注］")), "［注］");
}

TEST(AozoraNotationTest, GaijiWithACodeIsItsCharacterWithoutOneSilent) {
    const std::string text =
        Sjis("森※［＃「區＋鳥」、第3水準1-94-69］外、※［＃「口＋世」、ページ数-行数］。"
             "※［＃「てへん＋劣」、第3水準1-84-77］る ※［＃「土へん＋竒」、U+57FC、123-4］"
             " ※［＃「りっしんべん＋夢」、第4水準2-12-81］");
    const AozoraNotation n = ParseAozoraNotation(text);
    ASSERT_EQ(n.gaiji.size(), 4u);
    EXPECT_EQ(n.gaiji[0].utf8, "鷗");
    EXPECT_EQ(n.gaiji[1].utf8, "挘");
    EXPECT_EQ(n.gaiji[2].utf8, "埼");
    EXPECT_EQ(n.gaiji[3].utf8, "懵");
    EXPECT_EQ(NotationFreeText(text), "森鷗外、。挘る 埼 懵");
}

TEST(AozoraNotationTest, JisX0213CellsThroughTheConverter) {
    EXPECT_EQ(JisX0213Character(1, 94, 69), "鷗");
    EXPECT_EQ(JisX0213Character(2, 12, 81), "懵");
    EXPECT_EQ(JisX0213Character(1, 4, 87), "か\u309A"); // a base and a combining mark
    EXPECT_EQ(JisX0213Character(1, 95, 1), "");
    EXPECT_EQ(JisX0213Character(3, 1, 1), "");
    EXPECT_EQ(JisX0213Character(1, 0, 1), "");
    EXPECT_EQ(GaijiCharacter("「區＋鳥」、第３水準１－９４－６９"), "鷗"); // full-width digits
    EXPECT_EQ(GaijiCharacter("「口＋世」、ページ数-行数"), "");
    EXPECT_EQ(GaijiCharacter("U+D800"), ""); // a surrogate is no character
}

TEST(AozoraNotationTest, RubyOverAGaijiTakesItIntoTheBase) {
    const std::string text = Sjis("森※［＃「區＋鳥」、第3水準1-94-69］外《もりおうがい》の本");
    const AozoraNotation n = ParseAozoraNotation(text);
    ASSERT_EQ(n.ruby.size(), 1u);
    EXPECT_EQ(n.ruby[0].base.begin, 0u);
    EXPECT_EQ(text.substr(n.ruby[0].base.end - 2, 2), Sjis("外"));
    EXPECT_EQ(NotationFreeText(text), "森鷗外の本");
}

TEST(AozoraNotationTest, AccentNotationReadsTheLettersAndShowsTheAccents) {
    const std::string text = Sjis("店は〔Cafe' de Paris〕、〔ae&on s& !@Hola! Vin~a〕、〔括弧〕");
    const AozoraNotation n = ParseAozoraNotation(text);
    // The brackets and marks are silent: what is read is the letters.
    std::string read;
    for (std::size_t i = 0; i < text.size(); ++i) {
        bool silent = false;
        for (const NotationRange& r : n.silent) {
            silent = silent || (i >= r.begin && i < r.end);
        }
        if (!silent) {
            read.push_back(text[i]);
        }
    }
    EXPECT_EQ(Utf8(read), "店はCafe de Paris、aeon s Hola! Vina、〔括弧〕");
    EXPECT_EQ(NotationFreeText(text), "店はCafé de Paris、æon ß ¡Hola! Viña、〔括弧〕");
}

TEST(AozoraNotationTest, TheExplainingBlockAndTheColophonAreSilentTheTitleIsNot) {
    const std::string text =
        Sjis("羅生門\r\n芥川龍之介\r\n\r\n"
             "-------------------------------------------------------\r\n"
             "【テキスト中に現れる記号について】\r\n\r\n《》：ルビ\r\n"
             "（例）下人《げにん》\r\n"
             "-------------------------------------------------------\r\n"
             "\r\n本文《ほんぶん》です。\r\n\r\n底本：「全集」\r\n入力：誰か\r\n");
    EXPECT_EQ(NotationFreeText(text), "羅生門\n芥川龍之介\n\n\n本文です。\n\n");
    const AozoraNotation n = ParseAozoraNotation(text);
    ASSERT_EQ(n.ruby.size(), 1u); // the block's example is no ruby
    EXPECT_EQ(n.silent.back().end, text.size());
    EXPECT_EQ(FindColophon(text), text.find(Sjis("底本")));
    // A dashed line without the block's title after it is text, and so is 底本： inside a line.
    const std::string plain = Sjis("----------\r\n本文\r\n----------\r\n注：底本：なし");
    EXPECT_EQ(NotationFreeText(plain), "----------\n本文\n----------\n注：底本：なし");
    EXPECT_EQ(FindColophon(plain), std::string::npos);
}

TEST(AozoraNotationTest, DetectionInBothEncodingsAndTheModes) {
    const std::vector<std::string> aozora = {"漢字《かんじ》", "［＃改ページ］", "a｜b《び》",
                                             "x\n底本：全集"};
    for (const std::string& s : aozora) {
        EXPECT_TRUE(LooksLikeAozora(Sjis(s))) << s;
    }
    const std::vector<std::string> plain = {"《書名》を読む", "漢字《ABC》", "［注］",
                                            "x 底本：全集", ""};
    for (const std::string& s : plain) {
        EXPECT_FALSE(LooksLikeAozora(Sjis(s))) << s;
    }
    EXPECT_TRUE(LooksLikeAozora(std::u16string(u"前\n底本：全集")));
    EXPECT_TRUE(LooksLikeAozora(std::u16string(u"森\U00020B9F《しか》る")));
    EXPECT_FALSE(LooksLikeAozora(std::u16string(u"普通の文")));
    EXPECT_EQ(FindColophon(std::u16string(u"前\r\n底本：全集")), 3u);

    EXPECT_FALSE(ReadsAsAozora(AozoraMode::Off, Sjis("漢字《かんじ》")));
    EXPECT_TRUE(ReadsAsAozora(AozoraMode::Auto, Sjis("漢字《かんじ》")));
    EXPECT_FALSE(ReadsAsAozora(AozoraMode::Auto, Sjis("普通の文")));
    EXPECT_TRUE(ReadsAsAozora(AozoraMode::On, Sjis("普通の文")));
    const std::string withColophon = Sjis("本文\r\n底本：全集");
    EXPECT_EQ(AozoraReadEnd(true, withColophon, 100), 6u);
    EXPECT_EQ(AozoraReadEnd(true, withColophon, 3), 3u);
    EXPECT_EQ(AozoraReadEnd(false, withColophon, 100), 100u);
    // A reading that starts inside the notation block starts after it.
    const std::u16string block = u"題\n----------\n【テキスト中に現れる記号について】\n《》：ルビ\n"
                                 u"----------\n本文";
    const std::size_t after = block.find(u"本文");
    EXPECT_EQ(AozoraReadStart(true, block, 0), 0u);
    EXPECT_EQ(AozoraReadStart(true, block, 2), after);
    EXPECT_EQ(AozoraReadStart(true, block, after - 1), after);
    EXPECT_EQ(AozoraReadStart(true, block, after), after);
    EXPECT_EQ(AozoraReadStart(false, block, 2), 2u);
}

TEST(AozoraNotationTest, BadBytesNeverBreakTheParser) {
    // Lone lead bytes, NUL and an unclosed note right at the end.
    const std::string text = std::string("\x81", 1) + Sjis("漢字《") + std::string("\0\x9f", 2) +
                             Sjis("》［＃") + std::string("\xfc", 1);
    const AozoraNotation n = ParseAozoraNotation(text);
    for (const NotationRange& r : n.silent) {
        EXPECT_LT(r.begin, r.end);
        EXPECT_LE(r.end, text.size());
    }
    EXPECT_TRUE(ParseAozoraNotation("").silent.empty());
}

} // namespace
} // namespace yomi6
