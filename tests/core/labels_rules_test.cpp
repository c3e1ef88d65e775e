// The accent rules of the labels: which own rules apply (--accent-rules), how a combination
// rule is chosen by the word before, how the accent of a phrase follows from its words, and
// where accent phrases start, with the classic rules alone and with this program's own.
#include "labels/accent_by_rule.h"
#include "labels/accent_phrase_stage.h"
#include "labels/accent_rules.h"
#include "labels/accent_type_stage.h"
#include "labels/mora_table.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace yomi6::labels {
namespace {

LabelWord Word(std::string surface, std::string pos, std::string pos1, std::string pron,
               int accent = 0, std::string rule = "*") {
    LabelWord w;
    w.surface = std::move(surface);
    w.pos = std::move(pos);
    w.pos1 = std::move(pos1);
    w.pronunciation = std::move(pron);
    w.moraCount = CountMorae(w.pronunciation);
    w.accent = accent;
    w.accentRule = std::move(rule);
    return w;
}

std::vector<int> Chains(const std::vector<LabelWord>& words) {
    std::vector<int> out;
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
                                    Word("こと", "名詞", "非自立", "コト", 2, "C3")};
        w[1].pos2 = "一般";
        w[1].base = "こと";
        w[1].chain = 0; // as the classic rules leave a noun after a verb
        return w;
    };
    std::vector<LabelWord> w = words(0);
    SetAccentTypes(w, AccentRules::All());
    EXPECT_EQ(w[1].chain, 1);
    EXPECT_EQ(w[0].accent, 5); // ツカウコト]
    w = words(2);
    SetAccentTypes(w, AccentRules::All());
    EXPECT_EQ(w[1].chain, 0); // ツカ]ウ コト]
    EXPECT_EQ(w[0].accent, 2);
    w = words(0);
    SetAccentTypes(w, AccentRules::None());
    EXPECT_EQ(w[1].chain, 0);
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
