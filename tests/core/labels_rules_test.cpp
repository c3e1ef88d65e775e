// The accent rules of the labels: which own rules apply (--accent-rules), how a combination
// rule is chosen by the word before, how the accent of a phrase follows from its words, and
// where accent phrases start, with the classic rules alone and with this program's own.
#include "label_words_support.h"
#include "labels/accent_by_rule.h"
#include "labels/accent_phrase_stage.h"
#include "labels/accent_rules.h"
#include "labels/accent_type_stage.h"
#include "labels/mora_table.h"
#include "labels/nucleus_shift.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace yomi6::labels {
namespace {

using test::Phrases;
using test::W;
using test::Word;

// The quoting と (無駄だと思う).
LabelWord QuotingTo() {
    LabelWord w = W("と", "助詞", "格助詞", "ト", 0, "動詞%F1");
    w.pos2 = "引用";
    return w;
}

std::vector<int> Chains(const std::vector<LabelWord>& words) {
    std::vector<int> out;
    out.reserve(words.size());
    for (const LabelWord& w : words) {
        out.push_back(w.chain);
    }
    return out;
}

TEST(AccentRulesTest, ParsesAllNoneListsAndExceptions) {
    AccentRules r;
    std::string error;
    ASSERT_TRUE(AccentRules::Parse("all", r, error));
    for (const OwnRule& rule : OwnRules()) {
        EXPECT_TRUE(r.Has(rule.name)) << rule.name;
    }
    ASSERT_TRUE(AccentRules::Parse("none", r, error));
    EXPECT_FALSE(r.Has("suru"));
    ASSERT_TRUE(AccentRules::Parse("suru,te-auxiliary", r, error));
    EXPECT_TRUE(r.Has("suru"));
    EXPECT_TRUE(r.Has("te-auxiliary"));
    EXPECT_FALSE(r.Has("formal-noun"));
    // -NAME: every rule but that one.
    ASSERT_TRUE(AccentRules::Parse("-suru", r, error));
    EXPECT_FALSE(r.Has("suru"));
    EXPECT_TRUE(r.Has("formal-noun"));
    EXPECT_TRUE(r.Has("numbers"));
    EXPECT_FALSE(AccentRules::Parse("suru,nonesuch", r, error));
    EXPECT_NE(error.find("nonesuch"), std::string::npos);
    EXPECT_FALSE(AccentRules::Parse("", r, error));
}

TEST(AccentTypeTest, RuleChosenByTheWordBefore) {
    int offset = -1;
    EXPECT_EQ(RuleFor("C3", "名詞", offset), "C3");
    EXPECT_EQ(offset, 0);
    EXPECT_EQ(RuleFor("名詞%F1/動詞%F2@0", "名詞", offset), "F1");
    EXPECT_EQ(RuleFor("名詞%F1/動詞%F2@1", "動詞", offset), "F2");
    EXPECT_EQ(offset, 1);
    // The condition is a part of the part of speech before (助動詞 holds 動詞).
    EXPECT_EQ(RuleFor("動詞%F2@-1", "助動詞", offset), "F2");
    EXPECT_EQ(offset, -1);
    EXPECT_EQ(RuleFor("名詞%F1", "副詞", offset), "*");
    EXPECT_EQ(RuleFor("形容詞%F2@-1/F3@1", "名詞", offset), "F3");
    EXPECT_EQ(offset, 1);
    EXPECT_EQ(RuleFor("*", "名詞", offset), "*");
}

TEST(AccentTypeTest, PhraseAccentFromItsWords) {
    const AccentRules none = AccentRules::None();
    // A flat noun and a particle that puts the nucleus on its own first mora (F2@0).
    std::vector<LabelWord> w = {Word("鳥", "名詞", "一般", "トリ", 0),
                                Word("まで", "助詞", "副助詞", "マデ", 1, "名詞%F2@1")};
    w[1].chain = 1;
    SetAccentTypes(w, none);
    EXPECT_EQ(w[0].accent, 3);
    // An accented noun keeps its nucleus under F2.
    w = {Word("雨", "名詞", "一般", "アメ", 1), Word("まで", "助詞", "副助詞", "マデ", 1, "F2@1")};
    w[1].chain = 1;
    SetAccentTypes(w, none);
    EXPECT_EQ(w[0].accent, 1);
    // Compound nouns: C1 takes the second's nucleus, C2 its first mora, C3 the mora before it,
    // C4 makes the phrase flat.
    for (const auto& [rule, accent, expected] :
         {std::tuple{"C1", 2, 6}, {"C2", 0, 5}, {"C3", 0, 4}, {"C4", 2, 0}, {"C5", 2, 2}}) {
        w = {Word("東京", "名詞", "固有名詞", "トーキョー", 0),
             Word("地図", "名詞", "一般", "チズ", accent, rule)};
        w[0].accent = 2;
        w[1].chain = 1;
        SetAccentTypes(w, none);
        EXPECT_EQ(w[0].accent, expected) << rule;
    }
    // A word that starts a phrase keeps its own accent.
    w = {Word("雨", "名詞", "一般", "アメ", 1), Word("降る", "動詞", "自立", "フル", 1, "C1")};
    w[1].chain = 0;
    SetAccentTypes(w, none);
    EXPECT_EQ(w[0].accent, 1);
    EXPECT_EQ(w[1].accent, 1);
}

TEST(AccentPhraseTest, ClassicRules) {
    std::vector<LabelWord> w = {
        Word("雨", "名詞", "一般", "アメ"),       Word("が", "助詞", "格助詞", "ガ"),
        Word("とても", "副詞", "一般", "トテモ"), Word("強く", "形容詞", "自立", "ツヨク"),
        Word("降る", "動詞", "自立", "フル"),     Word("日", "名詞", "非自立", "ヒ")};
    SetAccentPhrases(w, AccentRules::None());
    // The first word's chain is the dictionary's to give; the particle joins; the adverb
    // stands alone; the adjective after it starts one; a verb after an adjective joins it;
    // a noun after a verb starts a phrase.
    EXPECT_EQ(Chains(w), (std::vector<int>{-1, 1, 0, 0, 1, 0}));
    // What the dictionary decided stays.
    w[1].chain = 0;
    w[1].pos = "名詞";
    for (std::size_t i = 2; i < w.size(); ++i) {
        w[i].chain = -1;
    }
    SetAccentPhrases(w, AccentRules::None());
    EXPECT_EQ(w[1].chain, 0);
}

TEST(AccentPhraseTest, OwnRulesJoinWhatTheClassicRulesSplit) {
    auto words = [] {
        std::vector<LabelWord> w = {Word("勉強", "名詞", "サ変接続", "ベンキョー"),
                                    Word("する", "動詞", "自立", "スル"),
                                    Word("の", "名詞", "非自立", "ノ"),
                                    Word("を", "助詞", "格助詞", "ヲ"),
                                    Word("覚え", "動詞", "自立", "オボエ"),
                                    Word("て", "助詞", "接続助詞", "テ"),
                                    Word("いる", "動詞", "非自立", "イル"),
                                    Word("て", "助詞", "接続助詞", "テ"),
                                    Word("ください", "動詞", "非自立", "クダサイ")};
        w[1].base = "する";
        w[2].base = "の";
        w[6].base = "いる";
        w[8].base = "くださる";
        return w;
    };
    std::vector<LabelWord> w = words();
    SetAccentPhrases(w, AccentRules::None());
    const std::vector<int> classic = {-1, 0, 0, 1, 0, 1, 0, 1, 0};
    EXPECT_EQ(Chains(w), classic);
    for (const auto& [rule, index] :
         {std::pair{"suru", 1}, {"formal-noun", 2}, {"te-auxiliary", 6}}) {
        AccentRules only;
        std::string error;
        ASSERT_TRUE(AccentRules::Parse(rule, only, error));
        w = words();
        SetAccentPhrases(w, only);
        std::vector<int> expected = classic;
        expected[static_cast<std::size_t>(index)] = 1; // ください stays a phrase of its own
        EXPECT_EQ(Chains(w), expected) << rule;
    }
    // する keeps the noun's accent; できる puts a flat noun's nucleus on its own.
    ASSERT_EQ(w.size(), 9u);
    w = words();
    SetAccentPhrases(w, AccentRules::All());
    EXPECT_EQ(w[1].accentRule, "F1");
    w = {Word("合格", "名詞", "サ変接続", "ゴーカク", 0),
         Word("できる", "動詞", "自立", "デキル", 2)};
    w[1].base = "できる";
    SetAccentPhrases(w, AccentRules::All());
    SetAccentTypes(w, AccentRules::All());
    EXPECT_EQ(w[0].accent, 6); // ゴーカクデキ]ル
}

TEST(AccentTypeTest, FormalNounsJoinAFlatPhraseOnly) {
    auto words = [](int verbAccent) {
        std::vector<LabelWord> w = {Word("使う", "動詞", "自立", "ツカウ", verbAccent),
                                    Word("もの", "名詞", "非自立", "モノ", 2, "C3")};
        w[1].pos2 = "一般";
        w[1].base = "もの";
        w[1].chain = 0; // as the classic rules leave a noun after a verb
        return w;
    };
    std::vector<LabelWord> w = words(0);
    SetAccentTypes(w, AccentRules::All());
    EXPECT_EQ(w[1].chain, 1);
    EXPECT_EQ(w[0].accent, 5); // ツカウモノ]
    w = words(2);
    SetAccentTypes(w, AccentRules::All());
    EXPECT_EQ(w[1].chain, 0); // ツカ]ウ コト]
    EXPECT_EQ(w[0].accent, 2);
    w = words(0);
    SetAccentTypes(w, AccentRules::None());
    EXPECT_EQ(w[1].chain, 0);
}

// One case of an own rule: words, and the accent phrases with the classic rules alone and with
// the rule: each phrase as its first word's index and its accent.
struct OwnRuleCase {
    const char* rule;
    std::vector<LabelWord> words;
    std::vector<std::pair<std::size_t, int>> classic;
    std::vector<std::pair<std::size_t, int>> withRule;
};

TEST(AccentPhraseTest, EachOwnRuleAgainstTheClassicRules) {
    const std::string ta = "動詞%F2@1/形容詞%F4@-2";
    const std::string wa = "名詞%F1/動詞%F2@0/形容詞%F2@0";
    LabelWord shirabe = W("調べ", "動詞", "自立", "シラベ", 3, "*", "調べる", "連用形");
    shirabe.conjugationType = "一段";
    LabelWord sou = W("そう", "名詞", "接尾", "ソー", 0, "C1");
    sou.pos2 = "助動詞語幹";
    const std::vector<OwnRuleCase> cases = {
        // 大きくない: ない a phrase of its own.
        {"nai",
         {W("大きく", "形容詞", "自立", "オーキク", 1, "*", "大きい", "連用テ接続"),
          W("ない", "助動詞", "*", "ナイ", 1, "動詞%F3@0/形容詞%F2@1")},
         {{0, 1}},
         {{0, 1}, {1, 1}}},
        // なくなる: one phrase.
        {"naru",
         {W("なく", "助動詞", "*", "ナク", 1, "*", "ない", "連用テ接続"),
          W("なる", "動詞", "自立", "ナル", 1)},
         {{0, 1}, {1, 1}},
         {{0, 1}}},
        // かけられて: カケラ]レテ.
        {"verb-suffix",
         {W("かけ", "動詞", "自立", "カケ", 2, "*", "かける", "未然形"),
          W("られ", "動詞", "接尾", "ラレ", 2, "*", "られる"),
          W("て", "助詞", "接続助詞", "テ", 0, "動詞%F1")},
         {{0, 2}},
         {{0, 3}}},
        // 調べなさい: シラベナサ]イ.
        {"honorific",
         {W("調べ", "動詞", "自立", "シラベ", 3, "*", "調べる", "連用形"),
          W("なさい", "動詞", "非自立", "ナサイ", 2, "*", "なさる")},
         {{0, 3}},
         {{0, 5}}},
        // 覚えます。: no nucleus on マ at the end.
        {"final-masu",
         {W("覚え", "動詞", "自立", "オボエ", 3, "*", "覚える", "連用形"),
          W("ます", "助動詞", "*", "マス", 1, "動詞%F4@1", "ます", "基本形")},
         {{0, 4}},
         {{0, 3}}},
        // 行った: flat.
        {"ta-flat",
         {W("行っ", "動詞", "自立", "イッ", 0, "*", "行く", "連用タ接続"),
          W("た", "助動詞", "*", "タ", 0, ta)},
         {{0, 3}},
         {{0, 0}}},
        // 伝統的: flat.
        {"teki-flat",
         {W("伝統", "名詞", "一般", "デントー", 0, "C2"), W("的", "名詞", "接尾", "テキ", 0, "C3")},
         {{0, 4}},
         {{0, 0}}},
        // 早く歩く: two phrases.
        {"adverbial-ku",
         {W("早く", "形容詞", "自立", "ハヤク", 1, "*", "早い", "連用テ接続"),
          W("歩く", "動詞", "自立", "アルク", 2)},
         {{0, 1}},
         {{0, 1}, {1, 2}}},
        // あと１カ月: two phrases.
        {"number-phrase",
         {W("あと", "名詞", "一般", "アト", 1), W("１カ月", "名詞", "数", "イッカゲツ", 1)},
         {{0, 1}},
         {{0, 1}, {1, 1}}},
        // みんな図書館: two phrases.
        {"pronoun",
         {W("みんな", "名詞", "代名詞", "ミンナ", 3), W("図書館", "名詞", "一般", "トショカン", 2)},
         {{0, 3}},
         {{0, 3}, {1, 2}}},
        // 自然現象: one compound.
        {"compound-stem",
         {W("自然", "名詞", "形容動詞語幹", "シゼン", 0),
          W("現象", "名詞", "一般", "ゲンショー", 0, "C1")},
         {{0, 0}, {1, 0}},
         {{0, 3}}},
        // 子供として: one phrase.
        {"to-suru",
         {W("子供", "名詞", "一般", "コドモ", 0), W("と", "助詞", "格助詞", "ト", 0),
          W("し", "動詞", "自立", "シ", 0, "*", "する", "連用形"),
          W("て", "助詞", "接続助詞", "テ", 0, "動詞%F1")},
         {{0, 0}, {2, 0}},
         {{0, 0}}},
        // 未定である: ミテーデア]ル.
        {"dearu",
         {W("未定", "名詞", "形容動詞語幹", "ミテー", 0),
          W("で", "助動詞", "*", "デ", 0, "名詞%F1", "だ"),
          W("ある", "助動詞", "*", "アル", 1, "動詞%F1")},
         {{0, 0}},
         {{0, 5}}},
        // 出すには: ダ]スニワ.
        {"ni-after-verb",
         {W("出す", "動詞", "自立", "ダス", 1, "*", "出す", "基本形"),
          W("に", "助詞", "格助詞", "ニ", 0, "動詞%F5/形容詞%F1/名詞%F1")},
         {{0, 0}},
         {{0, 1}}},
        // 肉眼では: ニクガンデ]ワ.
        {"particle-wa",
         {W("肉眼", "名詞", "一般", "ニクガン", 0), W("で", "助詞", "格助詞", "デ", 0, "動詞%F1"),
          W("は", "助詞", "係助詞", "ワ", 0, wa)},
         {{0, 0}},
         {{0, 5}}},
        // 行くだろう: イク]ダロー.
        {"verb-final-mora",
         {W("行く", "動詞", "自立", "イク", 0, "*", "行く", "基本形"),
          W("だろ", "助動詞", "*", "ダロ", 0, "名詞%F1", "だ", "未然形")},
         {{0, 0}},
         {{0, 2}}},
        // しなければ: シナ]ケレバ.
        {"nakereba",
         {W("し", "動詞", "自立", "シ", 0, "*", "する", "未然形"),
          W("なけれ", "助動詞", "*", "ナケレ", 1, "動詞%F3@0", "ない", "仮定形")},
         {{0, 0}},
         {{0, 2}}},
        // 男性だった: ダンセーダ]ッタ.
        {"datta",
         {W("男性", "名詞", "一般", "ダンセー", 0),
          W("だっ", "助動詞", "*", "ダッ", 0, "名詞%F1", "だ")},
         {{0, 0}},
         {{0, 5}}},
        // 調べた: シラ]ベタ.
        {"ichidan-te", {shirabe, W("た", "助動詞", "*", "タ", 0, ta)}, {{0, 3}}, {{0, 2}}},
        // 行っても: イッテ]モ.
        {"te-particle",
         {W("行っ", "動詞", "自立", "イッ", 0, "*", "行く", "連用タ接続"),
          W("て", "助詞", "接続助詞", "テ", 0, "動詞%F1"), W("も", "助詞", "係助詞", "モ", 0, wa)},
         {{0, 0}},
         {{0, 3}}},
        // 少年たち: ショーネ]ンタチ, not on ン; 誕生日: タンジョ]ービ, not on ー.
        {"special-mora",
         {W("少年", "名詞", "一般", "ショーネン", 0), W("たち", "名詞", "接尾", "タチ", 1, "C3")},
         {{0, 4}},
         {{0, 3}}},
        {"special-mora",
         {W("誕生", "名詞", "サ変接続", "タンジョー", 0), W("日", "名詞", "接尾", "ビ", 0, "C3")},
         {{0, 4}},
         {{0, 3}}},
        // 君のところに: トコロ]ニ; 見つけたところだ: ミツケタトコロ]ダ.
        {"tokoro",
         {W("君", "名詞", "代名詞", "キミ", 0), W("の", "助詞", "連体化", "ノ", 0, "名詞%F1"),
          W("ところ", "名詞", "非自立", "トコロ", 0, "C2", "ところ"),
          W("に", "助詞", "格助詞", "ニ", 0, "名詞%F1")},
         {{0, 0}, {2, 0}},
         {{0, 0}, {2, 3}}},
        {"tokoro,formal-noun,ta-flat",
         {W("見つけ", "動詞", "自立", "ミツケ", 0, "*", "見つける", "連用形"),
          W("た", "助動詞", "*", "タ", 0, "動詞%F2@1/形容詞%F4@-2", "た"),
          W("ところ", "名詞", "非自立", "トコロ", 0, "C2", "ところ"),
          W("だ", "助動詞", "*", "ダ", 0, "名詞%F1", "だ")},
         {{0, 4}, {2, 0}},
         {{0, 7}}},
        // どうやって: ド]ーヤッテ, one phrase; どのように: ド]ノヨーニ.
        {"dou",
         {W("どう", "副詞", "一般", "ドー", 1, "*", "どう"),
          W("やっ", "動詞", "自立", "ヤッ", 0, "*", "やる", "連用タ接続"),
          W("て", "助詞", "接続助詞", "テ", 0, "動詞%F1")},
         {{0, 1}, {1, 0}},
         {{0, 1}}},
        {"dou",
         {W("どの", "連体詞", "*", "ドノ", 1, "*", "どの"),
          W("よう", "名詞", "非自立", "ヨー", 1, "C2", "よう"), W("に", "助詞", "副詞化", "ニ", 0)},
         {{0, 1}, {1, 1}},
         {{0, 1}}},
        // 予定です。: ヨテーデス, flat.
        {"final-desu",
         {W("予定", "名詞", "サ変接続", "ヨテー", 0),
          W("です", "助動詞", "*", "デス", 1, "名詞%F2@1/動詞%F1/形容詞%F2@0", "です", "基本形")},
         {{0, 4}},
         {{0, 0}}},
        // あります。: アリマス, flat.
        {"final-masu-flat",
         {W("あり", "動詞", "自立", "アリ", 1, "*", "ある", "連用形"),
          W("ます", "助動詞", "*", "マス", 1, "動詞%F4@1", "ます", "基本形")},
         {{0, 3}},
         {{0, 0}}},
        // 楽しそう: タノシソ]ー.
        {"sou",
         {W("楽し", "形容詞", "自立", "タノシ", 3, "*", "楽しい", "ガル接続"), sou},
         {{0, 3}},
         {{0, 4}}},
        // 使うこと: ツカウコト]; 読むこと: ヨ]ムコト.
        {"formal-noun",
         {W("使う", "動詞", "自立", "ツカウ", 0, "*", "使う", "基本形"),
          W("こと", "名詞", "非自立", "コト", 2, "C3")},
         {{0, 0}, {1, 2}},
         {{0, 5}}},
        {"formal-noun",
         {W("読む", "動詞", "自立", "ヨム", 1, "*", "読む", "基本形"),
          W("こと", "名詞", "非自立", "コト", 2, "C3")},
         {{0, 1}, {1, 2}},
         {{0, 1}}},
    };
    for (const OwnRuleCase& c : cases) {
        ASSERT_NE(c.classic, c.withRule) << c.rule; // every case shows what its rule changes
        EXPECT_EQ(Phrases(c.words, "none"), c.classic) << c.rule << " " << c.words[0].surface;
        EXPECT_EQ(Phrases(c.words, c.rule), c.withRule) << c.rule << " " << c.words[0].surface;
    }
}

// An own rule that moves a flat phrase's nucleus leaves an accented verb's where the classic
// rules put it: わからなければ ワカラ]ナケレバ, not ワカ]ラナケレバ; after a noun and する the
// flat noun's phrase still takes it on な (セワシナ]ケレバ).
TEST(AccentPhraseTest, NakerebaAfterAnAccentedVerb) {
    const std::vector<LabelWord> accented = {
        W("わから", "動詞", "自立", "ワカラ", 2, "*", "わかる", "未然形"),
        W("なけれ", "助動詞", "*", "ナケレ", 1, "動詞%F3@0", "ない", "仮定形")};
    EXPECT_EQ(Phrases(accented, "nakereba"), (std::vector<std::pair<std::size_t, int>>{{0, 3}}));
    EXPECT_EQ(Phrases(accented, "none"), Phrases(accented, "nakereba"));
    const std::vector<LabelWord> suru = {
        W("世話", "名詞", "サ変接続", "セワ", 0),
        W("し", "動詞", "自立", "シ", 0, "*", "する", "未然形"),
        W("なけれ", "助動詞", "*", "ナケレ", 1, "動詞%F3@0", "ない", "仮定形")};
    EXPECT_EQ(Phrases(suru, "suru,nakereba"), (std::vector<std::pair<std::size_t, int>>{{0, 4}}));
}

// A sentence's final ます flattens only a phrase its verb starts: 覚えています keeps the
// nucleus of 覚え (オボ]エテイマス).
TEST(AccentPhraseTest, FinalMasuFlatOnlyAfterAVerbThatStartsThePhrase) {
    const std::vector<LabelWord> teiru = {
        W("覚え", "動詞", "自立", "オボエ", 2, "*", "覚える", "連用形"),
        W("て", "助詞", "接続助詞", "テ", 0, "動詞%F1"),
        W("い", "動詞", "非自立", "イ", 0, "*", "いる", "連用形"),
        W("ます", "助動詞", "*", "マス", 1, "動詞%F4@1", "ます", "基本形")};
    EXPECT_EQ(Phrases(teiru, "te-auxiliary,final-masu,final-masu-flat"),
              (std::vector<std::pair<std::size_t, int>>{{0, 2}}));
}

// たら after a flat verb keeps the nucleus its entry puts on た: 行ったら イッタ]ラ.
TEST(AccentPhraseTest, TaFlatLeavesTara) {
    const std::vector<LabelWord> tara = {
        W("行っ", "動詞", "自立", "イッ", 0, "*", "行く", "連用タ接続"),
        W("たら", "助動詞", "*", "タラ", 0, "動詞%F2@1/形容詞%F4@-2", "た", "仮定形")};
    EXPECT_EQ(Phrases(tara, "ta-flat"), (std::vector<std::pair<std::size_t, int>>{{0, 3}}));
}

// いけないから: イケナ]イカラ, not イケナイ]カラ; a nucleus elsewhere, or on the イ of another
// word, stays.
TEST(NucleusShiftTest, OffTheIOfNai) {
    auto phrase = [](int accent, const char* base) {
        std::vector<LabelWord> w = {W("いけ", "動詞", "自立", "イケ", 0, "*", "いける", "未然形"),
                                    W("ない", "助動詞", "*", "ナイ", 0, "*", base),
                                    W("から", "助詞", "接続助詞", "カラ", 0)};
        w[0].accent = accent;
        w[1].chain = 1;
        w[2].chain = 1;
        MoveNucleusOffNaiEnd(w);
        return w[0].accent;
    };
    EXPECT_EQ(phrase(4, "ない"), 3);
    EXPECT_EQ(phrase(3, "ない"), 3);
    EXPECT_EQ(phrase(5, "ない"), 5);
    EXPECT_EQ(phrase(4, "内"), 4);
}

// The rules for particles and auxiliaries after a phrase and for the words that join it: each
// against the classic rules alone.
TEST(AccentPhraseTest, JoiningWordsAgainstTheClassicRules) {
    const std::string ni = "動詞%F5/形容詞%F1/名詞%F1";
    const std::string mo = "名詞%F1/動詞%F2@0/形容詞%F2@0";
    const std::vector<OwnRuleCase> cases = {
        // 花の: ハナノ, not ハナ]ノ.
        {"odaka-no",
         {W("花", "名詞", "一般", "ハナ", 2),
          W("の", "助詞", "連体化", "ノ", 0, "動詞%F2@0/形容詞%F1")},
         {{0, 2}},
         {{0, 0}}},
        // 政府によって: one phrase, セ]ーフニヨッテ.
        {"ni-yoru",
         {W("政府", "名詞", "一般", "セーフ", 1), W("に", "助詞", "格助詞", "ニ", 0, ni),
          W("よっ", "動詞", "自立", "ヨッ", 0, "*", "よる", "連用タ接続"),
          W("て", "助詞", "接続助詞", "テ", 0, "動詞%F1/形容詞%F1/名詞%F5")},
         {{0, 1}, {2, 0}},
         {{0, 1}}},
        // 学者という説: ガクシャトユー セ]ツ.
        {"to-iu",
         {W("学者", "名詞", "一般", "ガクシャ", 0), W("と", "助詞", "格助詞", "ト", 0, "動詞%F1"),
          W("いう", "動詞", "自立", "ユー", 0, "*", "いう", "基本形"),
          W("説", "名詞", "一般", "セツ", 1, "C3")},
         {{0, 0}, {2, 0}, {3, 1}},
         {{0, 0}, {3, 1}}},
        // 守るため: マモ]ルタメ; 続けるため: ツヅケルタメ].
        {"tame",
         {W("守る", "動詞", "自立", "マモル", 2, "*", "守る", "基本形"),
          W("ため", "名詞", "非自立", "タメ", 2, "C3")},
         {{0, 2}, {1, 2}},
         {{0, 2}}},
        {"tame",
         {W("続ける", "動詞", "自立", "ツヅケル", 0, "*", "続ける", "基本形"),
          W("ため", "名詞", "非自立", "タメ", 2, "C3")},
         {{0, 0}, {1, 2}},
         {{0, 6}}},
        // そのため: ソノタメ, flat.
        {"sono-tame",
         {W("その", "連体詞", "*", "ソノ", 0), W("ため", "名詞", "非自立", "タメ", 2, "C3")},
         {{0, 0}, {1, 2}},
         {{0, 0}}},
        // 一つである: ヒト]ツデ ア]ル.
        {"dearu-split",
         {W("一つ", "名詞", "一般", "ヒトツ", 2), W("で", "助動詞", "*", "デ", 0, "名詞%F1", "だ"),
          W("ある", "助動詞", "*", "アル", 1, "動詞%F1")},
         {{0, 2}},
         {{0, 2}, {2, 1}}},
        // 週末にも: シューマツニ]モ.
        {"mo-after-particle",
         {W("週末", "名詞", "副詞可能", "シューマツ", 0), W("に", "助詞", "格助詞", "ニ", 0, ni),
          W("も", "助詞", "係助詞", "モ", 0, mo)},
         {{0, 0}},
         {{0, 5}}},
        // 作ったり: ツク]ッタリ, not ツクッタ]リ.
        {"tari",
         {W("作っ", "動詞", "自立", "ツクッ", 2, "*", "作る", "連用タ接続"),
          W("たり", "助詞", "並立助詞", "タリ", 1, "名詞%F2@1/動詞%F4@1")},
         {{0, 4}},
         {{0, 2}}},
        // 暮らしてきた: クラシテキ]タ, one phrase.
        {"te-oru-kuru",
         {W("暮らし", "動詞", "自立", "クラシ", 0, "*", "暮らす", "連用形"),
          W("て", "助詞", "接続助詞", "テ", 0, "動詞%F1"),
          W("き", "動詞", "非自立", "キ", 1, "*", "くる", "連用形"),
          W("た", "助動詞", "*", "タ", 0, "動詞%F2@1/形容詞%F4@-2")},
         {{0, 0}, {2, 1}},
         {{0, 5}}},
        // 上がると: アガル]ト.
        {"conjunctive-final-mora",
         {W("上がる", "動詞", "自立", "アガル", 0, "*", "上がる", "基本形"),
          W("と", "助詞", "接続助詞", "ト", 0, "動詞%F1")},
         {{0, 0}},
         {{0, 3}}},
        // 無駄だと: ムダダ]ト.
        {"quote-to",
         {W("無駄", "名詞", "形容動詞語幹", "ムダ", 0),
          W("だ", "助動詞", "*", "ダ", 0, "名詞%F1", "だ", "基本形"), QuotingTo()},
         {{0, 0}},
         {{0, 3}}},
        // 高く: タ]カク; 美しければ: ウツク]シケレバ.
        {"adjective-ku",
         {W("高く", "形容詞", "自立", "タカク", 2, "*", "高い", "連用テ接続")},
         {{0, 2}},
         {{0, 1}}},
        {"adjective-ku",
         {W("美しけれ", "形容詞", "自立", "ウツクシケレ", 4, "*", "美しい", "仮定形"),
          W("ば", "助詞", "接続助詞", "バ", 0, "動詞%F2@0/形容詞%F1")},
         {{0, 4}},
         {{0, 3}}},
        // 召使たち: メシツ]カイタチ, not メシツカイ]タチ.
        {"tachi",
         {W("召使", "名詞", "一般", "メシツカイ", 3), W("たち", "名詞", "接尾", "タチ", 1, "C3")},
         {{0, 5}},
         {{0, 3}}},
    };
    for (const OwnRuleCase& c : cases) {
        ASSERT_NE(c.classic, c.withRule) << c.rule;
        EXPECT_EQ(Phrases(c.words, "none"), c.classic) << c.rule << " " << c.words[0].surface;
        EXPECT_EQ(Phrases(c.words, c.rule), c.withRule) << c.rule << " " << c.words[0].surface;
    }
}

// Where those rules leave the phrase as it was: a nucleus that is not on the mora before の, a
// noun of one mora, である after a flat phrase, という before こと, たち after a flat noun.
TEST(AccentPhraseTest, JoiningWordsLeaveOtherPhrasesAlone) {
    using Phrase = std::vector<std::pair<std::size_t, int>>;
    const std::string no = "動詞%F2@0/形容詞%F1";
    EXPECT_EQ(Phrases({W("雨", "名詞", "一般", "アメ", 1), W("の", "助詞", "連体化", "ノ", 0, no)},
                      "odaka-no"),
              (Phrase{{0, 1}}));
    EXPECT_EQ(Phrases({W("木", "名詞", "一般", "キ", 1), W("の", "助詞", "連体化", "ノ", 0, no)},
                      "odaka-no"),
              (Phrase{{0, 1}}));
    // 未定である: one phrase, ミテーデア]ル.
    EXPECT_EQ(Phrases({W("未定", "名詞", "形容動詞語幹", "ミテー", 0),
                       W("で", "助動詞", "*", "デ", 0, "名詞%F1", "だ"),
                       W("ある", "助動詞", "*", "アル", 1, "動詞%F1")},
                      "dearu,dearu-split"),
              (Phrase{{0, 5}}));
    // 言ったということだ: ト ユーコト]ダ stays a phrase of its own.
    const std::vector<LabelWord> koto = {
        W("た", "助動詞", "*", "タ", 0, "動詞%F2@1/形容詞%F4@-2"),
        W("と", "助詞", "格助詞", "ト", 0, "動詞%F1"),
        W("いう", "動詞", "自立", "ユー", 0, "*", "いう", "基本形"),
        W("こと", "名詞", "非自立", "コト", 2, "C3")};
    EXPECT_EQ(Phrases(koto, "to-iu"), Phrases(koto, "none"));
    EXPECT_EQ(Phrases({W("少年", "名詞", "一般", "ショーネン", 0),
                       W("たち", "名詞", "接尾", "タチ", 1, "C3")},
                      "tachi"),
              (Phrase{{0, 4}}));
    // 馬鹿だと: an accented phrase keeps its nucleus (バ]カダト); 雨と: と after a noun is no
    // quoting と of a predicate.
    EXPECT_EQ(Phrases({W("馬鹿", "名詞", "形容動詞語幹", "バカ", 1),
                       W("だ", "助動詞", "*", "ダ", 0, "名詞%F1", "だ", "基本形"), QuotingTo()},
                      "quote-to"),
              (Phrase{{0, 1}}));
    EXPECT_EQ(Phrases({W("会社", "名詞", "一般", "カイシャ", 0), QuotingTo()}, "quote-to"),
              (Phrase{{0, 0}}));
    // 会社が上がると: と after a noun is the case particle, not the conjunctive one.
    EXPECT_EQ(Phrases({W("会社", "名詞", "一般", "カイシャ", 0),
                       W("と", "助詞", "格助詞", "ト", 0, "動詞%F1")},
                      "conjunctive-final-mora"),
              (Phrase{{0, 0}}));
}

// する after a noun of action: one phrase after a flat noun (ベンキョースル), two after an
// accented one (リ]カイ スル).
TEST(AccentPhraseTest, SuruSplitsAfterAnAccentedNoun) {
    using Phrase = std::vector<std::pair<std::size_t, int>>;
    auto words = [](const char* noun, const char* pron, int accent) {
        return std::vector<LabelWord>{W(noun, "名詞", "サ変接続", pron, accent),
                                      W("する", "動詞", "自立", "スル", 0, "*", "する", "基本形")};
    };
    EXPECT_EQ(Phrases(words("理解", "リカイ", 1), "suru"), (Phrase{{0, 1}}));
    EXPECT_EQ(Phrases(words("理解", "リカイ", 1), "suru,suru-split"), (Phrase{{0, 1}, {1, 0}}));
    EXPECT_EQ(Phrases(words("勉強", "ベンキョー", 0), "suru,suru-split"), (Phrase{{0, 0}}));
}

TEST(AccentByRuleTest, ThirdMoraFromTheEndOnAMoraThatCarriesIt) {
    EXPECT_EQ(AccentByRule("ア", "名詞"), 1);
    EXPECT_EQ(AccentByRule("ニホ", "名詞"), 1);
    EXPECT_EQ(AccentByRule("ハンバーガー", "名詞"), 3);       // ハ ン バ] ー ガ ー
    EXPECT_EQ(AccentByRule("サンビャク", "名詞"), 1);         // ン cannot carry it: サ]
    EXPECT_EQ(AccentByRule("ニセンニジューロク", "名詞"), 5); // not on ー: ニジュ]ーロク
    EXPECT_EQ(AccentByRule("アシ’タカ", "名詞"), 1);          // シ said voiceless: ア]
    EXPECT_EQ(AccentByRule("ハシル", "動詞"), 0);
    EXPECT_EQ(AccentByRule("", "名詞"), 0);
    std::vector<LabelWord> w = {Word("百", "名詞", "数", "ヒャク", 2, "C1")};
    w[0].accentKnown = false;
    w.push_back(Word("本", "名詞", "接尾", "ホン", 1, "C3"));
    SetRuleAccents(w);
    EXPECT_EQ(w[0].accent, 1);
    EXPECT_EQ(w[1].accent, 1);
    EXPECT_EQ(w[1].accentRule, "C3");
}

} // namespace
} // namespace yomi6::labels
