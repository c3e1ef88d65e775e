// The words of the labels before the accent rules: the text as the analyzer of the labels takes
// it, the morae, the dictionary's entries as words (the Open JTalk dictionary's accent and
// compound entries, UniDic's, IPADIC's without accent), numbers read by this program's rules,
// the pronunciation stage and the voiceless vowels.
#include "labels/accent_by_rule.h"
#include "labels/devoicing_stage.h"
#include "labels/dictionary_words.h"
#include "labels/label_text.h"
#include "labels/mora_table.h"
#include "labels/number_words.h"
#include "labels/pronunciation_stage.h"
#include "text/halfwidth_kana.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace yomi6::labels {
namespace {

std::vector<std::string> Prons(const std::vector<LabelWord>& words) {
    std::vector<std::string> out;
    out.reserve(words.size());
    for (const LabelWord& w : words) {
        out.push_back(w.pronunciation);
    }
    return out;
}

// An analysed word over utf8 bytes [begin, end) with a feature of the Open JTalk dictionary.
AnalyzedWord Analysed(std::size_t begin, std::size_t end, std::string pron, std::string feature) {
    AnalyzedWord w;
    w.begin = begin;
    w.end = end;
    w.pronunciation = std::move(pron);
    w.feature = std::move(feature);
    return w;
}

FeatureLayout OpenJTalkLayout() {
    FeatureLayout layout;
    layout.accent = 9;
    layout.accentRule = 10;
    layout.chainFlag = 11;
    return layout;
}

TEST(MoraTableTest, MoraeOfKatakanaAndHiragana) {
    std::size_t n = 0;
    const Mora* m = MoraAt("キャベツ", n);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->consonant, "ky");
    EXPECT_EQ(m->vowel, "a");
    EXPECT_EQ(n, 6u);
    m = MoraAt("ぎょう", n);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->kana, "ギョ");
    EXPECT_EQ(MoraAt("ン", n)->vowel, "N");
    EXPECT_EQ(MoraAt("ッ", n)->vowel, "cl");
    EXPECT_EQ(MoraAt("ー", n), nullptr);
    EXPECT_EQ(MoraAt("漢", n), nullptr);
    EXPECT_EQ(CountMorae("トーキョー"), 4);
    EXPECT_EQ(CountMorae("キ’カイ、ガ？"), 4);
    EXPECT_EQ(CountMorae(""), 0);
}

TEST(LabelTextTest, FullWidthFormsAndTheSourceOfEveryByte) {
    const PreparedText t = PrepareText("A b\x01ｶﾞ~");
    EXPECT_EQ(t.utf8, "Ａ\u3000ｂガ\u301C");
    ASSERT_EQ(t.sourceOf.size(), t.utf8.size() + 1);
    EXPECT_EQ(t.sourceOf[0], 0u);   // Ａ from A
    EXPECT_EQ(t.sourceOf[3], 1u);   // the blank
    EXPECT_EQ(t.sourceOf[6], 2u);   // ｂ
    EXPECT_EQ(t.sourceOf[9], 4u);   // ガ from ｶﾞ, after the control character left out
    EXPECT_EQ(t.sourceOf[12], 10u); // 〜 from ~
    EXPECT_EQ(t.sourceOf.back(), 11u);
    // A byte that starts no character is left out; Japanese text stays as it is.
    EXPECT_EQ(PrepareText("\xff漢字").utf8, "漢字");
}

TEST(LabelTextTest, HalfWidthKanaToFullWidth) {
    EXPECT_EQ(ToFullWidthKana(u"ｶﾞｯｺｳ ﾊﾟﾝ ｳﾞｧ ｰ｡"), u"ガッコウ パン ヴァ ー。");
    EXPECT_EQ(ToFullWidthKana(u"ﾞ漢"), u"゛漢");
    EXPECT_EQ(ToHalfWidthKana(ToFullWidthKana(u"ｷｬﾍﾞﾂ")), u"ｷｬﾍﾞﾂ");
}

TEST(DictionaryWordsTest, OpenJTalkEntriesWithAccentAndCompounds) {
    const std::string text = "東京駅は";
    const std::vector<AnalyzedWord> analysed = {
        Analysed(0, 9, "トーキョーエキ",
                 "名詞,固有名詞,一般,*,*,*,東京:駅,トウキョウ:エキ,トーキョー:エキ,0/4:1/2,C1"),
        Analysed(9, 12, "ワ", "助詞,係助詞,*,*,*,*,は,ハ,ワ,0/1,名詞%F1/動詞%F2@0,1")};
    const std::vector<LabelWord> w = WordsFromAnalysis(text, analysed, OpenJTalkLayout());
    ASSERT_EQ(w.size(), 3u);
    EXPECT_EQ(w[0].surface, "東京");
    EXPECT_EQ(w[0].pronunciation, "トーキョー");
    EXPECT_EQ(w[0].moraCount, 4);
    EXPECT_EQ(w[0].chain, -1);
    EXPECT_EQ(w[1].surface, "駅");
    EXPECT_EQ(w[1].accent, 1);
    EXPECT_EQ(w[1].chain, 0); // a part after the first starts a phrase until the rules say
    EXPECT_EQ(w[1].accentRule, "C1");
    EXPECT_EQ(w[2].pos1, "係助詞");
    EXPECT_EQ(w[2].accentRule, "名詞%F1/動詞%F2@0");
    EXPECT_EQ(w[2].chain, 1);
    EXPECT_EQ(w[2].sourceBegin, 9u);
    EXPECT_TRUE(w[2].accentKnown);
}

TEST(DictionaryWordsTest, ReadingsOfOurOwnAndDictionariesWithoutAccent) {
    // The entry's devoicing mark kept where the reading is the entry's.
    std::vector<LabelWord> w = WordsFromAnalysis(
        "機会", {Analysed(0, 6, "キカイ", "名詞,一般,*,*,*,*,機会,キカイ,キ’カイ,2/3,C1")},
        OpenJTalkLayout());
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].pronunciation, "キ’カイ");
    EXPECT_TRUE(w[0].accentKnown);
    // A reading of another length is not the entry's: its accent comes by rule.
    w = WordsFromAnalysis(
        "機会", {Analysed(0, 6, "キカイテキ", "名詞,一般,*,*,*,*,機会,キカイ,キ’カイ,2/3,C1")},
        OpenJTalkLayout());
    EXPECT_EQ(w[0].pronunciation, "キカイテキ");
    EXPECT_EQ(w[0].moraCount, 5);
    EXPECT_FALSE(w[0].accentKnown);
    // The entry's morae and accent stay with it, for entry-accent (KeepEntryAccents).
    EXPECT_EQ(w[0].entryMorae, 3);
    EXPECT_EQ(w[0].accent, 2);
    // IPADIC: part of speech and reading, no accent.
    w = WordsFromAnalysis(
        "走る", {Analysed(0, 6, "ハシル", "動詞,自立,*,*,五段・ラ行,基本形,走る,ハシル,ハシル")},
        FeatureLayout{});
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].conjugationType, "五段・ラ行");
    EXPECT_EQ(w[0].base, "走る");
    EXPECT_FALSE(w[0].accentKnown);
}

TEST(DictionaryWordsTest, UniDicNamedAsIpadic) {
    FeatureLayout layout; // UniDic 2: pos1-4, cType, cForm, lForm, lemma, orth, pron ...
    layout.conjugationType = 4;
    layout.conjugationForm = 5;
    layout.baseForm = 7;
    layout.pronunciation = 9;
    layout.accentType = 10;
    layout.accentConnection = 11;
    const std::vector<LabelWord> w = WordsFromAnalysis(
        "書いた",
        {Analysed(0, 6, "カイ", "動詞,一般,*,*,五段-カ行,連用形-イ音便,カク,書く,書い,カイ,1,C1"),
         Analysed(6, 9, "タ",
                  "助動詞,*,*,*,助動詞-タ,終止形-一般,タ,た,た,タ,*,"
                  "\"動詞%F2@1,形容詞%F4@-2\"")},
        layout);
    ASSERT_EQ(w.size(), 2u);
    EXPECT_EQ(w[0].pos, "動詞");
    EXPECT_EQ(w[0].pos1, "自立");
    EXPECT_EQ(w[0].accent, 1);
    EXPECT_TRUE(w[0].accentKnown);
    EXPECT_EQ(w[1].pos, "助動詞");
    EXPECT_EQ(w[1].accentRule, "動詞%F2@1/形容詞%F4@-2");
    EXPECT_FALSE(w[1].accentKnown);
}

TEST(DictionaryWordsTest, ReadOtherwiseTheEntrysNucleusAsFarFromTheEnd) {
    auto changed = [](const char* pron, int accent, int entryMorae) {
        LabelWord w;
        w.pos = "名詞";
        w.pronunciation = pron;
        w.moraCount = CountMorae(w.pronunciation);
        w.accent = accent;
        w.entryMorae = entryMorae;
        w.accentKnown = false;
        return w;
    };
    std::vector<LabelWord> w = {
        changed("ニホン", 3, 4),     // 日本 for ニッポ]ン: ニホ]ン
        changed("ホカ", 1, 1),       // 他 for タ]: ホカ]
        changed("カラダ", 0, 4),     // 身体 for シンタイ, flat: flat
        changed("ア", 3, 4),         // a nucleus before the word's start: on its first mora
        changed("ミヤコ", 5, 1),     // an accent past the entry's end: left to the rule
        changed("キカイテキ", 2, 0), // no entry of another length: left to the rule
    };
    KeepEntryAccents(w);
    EXPECT_EQ(w[0].accent, 2);
    EXPECT_EQ(w[1].accent, 2);
    EXPECT_EQ(w[2].accent, 0);
    EXPECT_EQ(w[3].accent, 1);
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_TRUE(w[k].accentKnown) << w[k].pronunciation;
    }
    EXPECT_FALSE(w[4].accentKnown);
    EXPECT_FALSE(w[5].accentKnown);
    // A word whose accent is the entry's is not touched.
    std::vector<LabelWord> known = {changed("ニホン", 3, 4)};
    known[0].accentKnown = true;
    KeepEntryAccents(known);
    EXPECT_EQ(known[0].accent, 3);
}

TEST(NumberWordsTest, NumbersReadByTheNumberRulesTheirCountersKept) {
    const std::string text = "１２本と三百と二人";
    auto word = [&](std::size_t b, std::size_t e, const char* pos1, const char* pron) {
        LabelWord w;
        w.surface = text.substr(b, e - b);
        w.pos = "名詞";
        w.pos1 = pos1;
        w.pronunciation = pron;
        w.moraCount = CountMorae(w.pronunciation);
        w.accent = 1;
        w.accentRule = "C3";
        w.sourceBegin = b;
        w.sourceEnd = e;
        return w;
    };
    std::vector<LabelWord> w = {word(0, 3, "数", "イチ"),     word(3, 6, "数", "ニ"),
                                word(6, 9, "接尾", "ホン"),   word(9, 12, "格助詞", "ト"),
                                word(12, 15, "数", "サン"),   word(15, 18, "数", "ヒャク"),
                                word(18, 21, "格助詞", "ト"), word(21, 27, "数", "フタリ")};
    ReadNumbers(text, w, true);
    ASSERT_EQ(w.size(), 6u);
    // １２ by place values, 本 a word of its own with its accent and rule.
    EXPECT_EQ(w[0].surface, "１２");
    EXPECT_EQ(w[0].pronunciation, "ジューニ");
    EXPECT_FALSE(w[0].accentKnown);
    EXPECT_EQ(w[0].sourceEnd, 6u);
    EXPECT_EQ(w[1].pronunciation, "ホン");
    EXPECT_EQ(w[1].accentRule, "C3");
    EXPECT_TRUE(w[1].accentKnown);
    // 三百 with its sound change, one word.
    EXPECT_EQ(w[3].pronunciation, "サンビャク");
    EXPECT_EQ(w[3].sourceBegin, 12u);
    // 二人: the dictionary reads it so; its word and accent stay.
    EXPECT_EQ(w[5].pronunciation, "フタリ");
    EXPECT_TRUE(w[5].accentKnown);
    // A number whose reading would end inside a word is left to the dictionary.
    const std::string odd = "一般";
    std::vector<LabelWord> one = {word(0, 6, "数", "ナニ")};
    one[0].surface = odd;
    ReadNumbers(odd, one, true);
    EXPECT_EQ(one[0].pronunciation, "ナニ");
}

TEST(NumberWordsTest, NativeCountingWordsAreOneWordWithTheirOwnAccent) {
    // 二人と三日と二十日と３人, as the analyzer cuts it: the numerals and each counter apart.
    const std::string text = "二人と三日と二十日と３人";
    const std::vector<std::pair<const char*, const char*>> parts = {
        {"数", "ニ"},     {"接尾", "ニン"}, {"格助詞", "ト"}, {"数", "サン"},
        {"接尾", "ニチ"}, {"格助詞", "ト"}, {"数", "ニ"},     {"数", "ジュー"},
        {"接尾", "ニチ"}, {"格助詞", "ト"}, {"数", "サン"},   {"接尾", "ニン"}};
    auto analysed = [&] {
        std::vector<LabelWord> w;
        std::size_t at = 0;
        for (const auto& [pos1, pron] : parts) {
            LabelWord x;
            x.surface = text.substr(at, 3);
            x.pos = std::string(pos1) == "格助詞" ? "助詞" : "名詞";
            x.pos1 = pos1;
            x.pronunciation = pron;
            x.moraCount = CountMorae(x.pronunciation);
            x.accent = 1;
            x.accentRule = "C3";
            x.sourceBegin = at;
            x.sourceEnd = at + 3;
            at += 3;
            w.push_back(x);
        }
        return w;
    };
    std::vector<LabelWord> w = analysed();
    ReadNumbers(text, w, true);
    ASSERT_EQ(w.size(), 8u);
    // 二人, 三日, 二十日: one word each, the whole source, the accent the word's own.
    const std::vector<std::tuple<std::size_t, const char*, int, std::size_t>> whole = {
        {0, "フタリ", 3, 6}, {2, "ミッカ", 0, 15}, {4, "ハツカ", 0, 27}};
    for (const auto& [k, pron, accent, end] : whole) {
        EXPECT_EQ(w[k].pronunciation, pron);
        EXPECT_EQ(w[k].accent, accent) << pron;
        EXPECT_TRUE(w[k].accentKnown) << pron;
        EXPECT_EQ(w[k].sourceEnd, end) << pron;
        EXPECT_EQ(w[k].pos1, "数");
    }
    // ３人 is a number and its counter, as the dictionary reads them.
    EXPECT_EQ(w[6].pronunciation, "サン");
    EXPECT_EQ(w[7].pronunciation, "ニン");
    // Without the rule, 二人 is a number and the counter's last morae.
    std::vector<LabelWord> apart = analysed();
    ReadNumbers(text, apart, false);
    EXPECT_EQ(apart[0].pronunciation, "フ");
    EXPECT_FALSE(apart[0].accentKnown);
    EXPECT_EQ(apart[1].pronunciation, "タリ");
}

TEST(NumberWordsTest, LongNumbersSaidInGroupsEachAPhrase) {
    auto number = [](const char* pron, bool known = false) {
        LabelWord w;
        w.pos = "名詞";
        w.pos1 = "数";
        w.pronunciation = pron;
        w.moraCount = CountMorae(w.pronunciation);
        w.accentKnown = known;
        w.sourceBegin = 3;
        w.sourceEnd = 12;
        return w;
    };
    std::vector<LabelWord> w = {number("サンビャクヨンジューゴ"),
                                number("ゴセンハッピャクジューヨン"),
                                number("ヒャクジューハチ"),
                                number("ゴセンマン"),
                                number("サンテンゴ"),
                                number("ニジューマンゴセン"),
                                number("サンビャクヨンジュー", true)};
    SplitNumberGroups(w);
    EXPECT_EQ(Prons(w), (std::vector<std::string>{"サンビャク", "ヨンジュー", "ゴ", "ゴセン",
                                                  "ハッピャク", "ジューヨン", "ヒャクジューハチ",
                                                  "ゴセンマン", "サンテンゴ", "ニジューマン",
                                                  "ゴセン", "サンビャクヨンジュー"}));
    // Each group after the first starts a phrase and keeps the number's source bytes.
    EXPECT_EQ(w[0].chain, -1);
    EXPECT_EQ(w[1].chain, 0);
    EXPECT_EQ(w[2].chain, 0);
    EXPECT_EQ(w[2].sourceBegin, 3u);
    EXPECT_EQ(w[2].sourceEnd, 12u);
    EXPECT_EQ(w[2].moraCount, 1);
    // A group in 千 or 万 before another has the nucleus before its ン; the others go by rule.
    EXPECT_TRUE(w[3].accentKnown);
    EXPECT_EQ(w[3].accent, 2);
    EXPECT_FALSE(w[0].accentKnown);
    EXPECT_TRUE(w[9].accentKnown);
    EXPECT_EQ(w[9].accent, 4); // ニジューマ]ン
    EXPECT_FALSE(w[10].accentKnown);
}

TEST(PronunciationStageTest, FillersPausesQuestionsAndSoundChanges) {
    auto word = [](std::string surface, std::string pos, std::string pron) {
        LabelWord w;
        w.surface = std::move(surface);
        w.pos = std::move(pos);
        w.pronunciation = std::move(pron);
        w.moraCount = CountMorae(w.pronunciation);
        return w;
    };
    std::vector<LabelWord> w = {word("え", "名詞", ""),     word("っ", "記号", ""),
                                word("「", "記号", ""),     word("行こ", "動詞", "イコ"),
                                word("う", "助動詞", "ウ"), word("です", "助動詞", "デス"),
                                word("？", "記号", "")};
    SetPronunciations(w);
    // え and っ, kana of one mora each, are one filler; 「 is a pause; う lengthens コ.
    EXPECT_EQ(Prons(w), (std::vector<std::string>{"エッ", "、", "イコ", "ー", "デス", "？"}));
    EXPECT_EQ(w[0].pos, "フィラー");
    EXPECT_EQ(w[0].moraCount, 2);
}

TEST(PronunciationStageTest, QuestionsAtAFinalKaAndIuSaidYuu) {
    auto word = [](std::string surface, std::string pos, std::string pron, std::string base) {
        LabelWord w;
        w.surface = std::move(surface);
        w.pos = std::move(pos);
        w.pronunciation = std::move(pron);
        w.moraCount = CountMorae(w.pronunciation);
        w.base = std::move(base);
        w.sourceEnd = 3;
        return w;
    };
    std::vector<LabelWord> w = {word("です", "助動詞", "デス", "です"),
                                word("か", "助詞", "カ", "か"), word("。", "記号", "、", "。")};
    AskAtFinalKa(w);
    EXPECT_EQ(Prons(w), (std::vector<std::string>{"デス", "カ", "？", "、"}));
    // A text that asks already, or a か that does not end the sentence: nothing added.
    AskAtFinalKa(w);
    EXPECT_EQ(w.size(), 4u);
    w = {word("か", "助詞", "カ", "か"), word("ね", "助詞", "ネ", "ね")};
    AskAtFinalKa(w);
    EXPECT_EQ(w.size(), 2u);
    w = {word("言う", "動詞", "イウ", "言う"), word("言っ", "動詞", "イッ", "言う"),
         word("いう", "動詞", "イウ", "いう"), word("イウ", "名詞", "イウ", "イウ")};
    SayIuAsYuu(w);
    EXPECT_EQ(Prons(w), (std::vector<std::string>{"ユー", "イッ", "ユー", "イウ"}));
}

TEST(DevoicingTest, VowelsBetweenVoicelessConsonants) {
    auto word = [](std::string pos, std::string pron, int accent, int chain) {
        LabelWord w;
        w.pos = std::move(pos);
        w.pronunciation = std::move(pron);
        w.moraCount = CountMorae(w.pronunciation);
        w.accent = accent;
        w.chain = chain;
        return w;
    };
    // キ before カ goes voiceless; ス of です before a pause too.
    std::vector<LabelWord> w = {word("名詞", "キカイ", 2, -1), word("助動詞", "デス", 0, 1),
                                word("記号", "、", 0, 0)};
    SetDevoicing(w);
    EXPECT_EQ(Prons(w), (std::vector<std::string>{"キ’カイ", "デス’", "、"}));
    // Not the nucleus (キ] of キシャ), not before a question's end.
    w = {word("名詞", "キシャ", 1, -1), word("助動詞", "デス", 0, 1), word("記号", "？", 0, 0)};
    SetDevoicing(w);
    EXPECT_EQ(Prons(w), (std::vector<std::string>{"キシャ", "デス", "？"}));
    // Two in a row are not: シ of シキ goes, キ before the next voiceless mora stays voiced.
    w = {word("名詞", "シキチ", 0, -1)};
    SetDevoicing(w);
    EXPECT_EQ(Prons(w), (std::vector<std::string>{"シ’キチ"}));
}

// A pronunciation that ends in a character cut short (a byte of a dictionary's broken entry)
// threw out of the devoicing stage: the morae before it are decided, the stray bytes kept.
TEST(DevoicingTest, APronunciationCutShortIsNoCrash) {
    LabelWord w;
    w.pos = "名詞";
    w.pronunciation = "キカ\xE3\x82";
    w.accent = 2;
    std::vector<LabelWord> words = {w};
    ASSERT_NO_THROW(SetDevoicing(words));
    EXPECT_EQ(words[0].pronunciation.substr(0, std::string_view("キ’カ").size()), "キ’カ");
    w.pronunciation = "キ\xE3";
    words = {w};
    ASSERT_NO_THROW(SetDevoicing(words));
}

} // namespace
} // namespace yomi6::labels
