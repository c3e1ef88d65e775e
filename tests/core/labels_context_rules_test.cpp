// The accent rules that look at the words around: each rule on a few words with the phrases
// and nuclei the speaker gives them, against the rules without it, and the neighbours where
// it must not apply.
#include "label_words_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace yomi6::labels {
namespace {

using test::PhraseList;
using test::Phrases;
using test::W;

const std::string kTe = "動詞%F1/形容詞%F1/名詞%F5";
const std::string kNi = "動詞%F5/形容詞%F1/名詞%F1";
const std::string kNai = "動詞%F3@0/形容詞%F2@1";

const std::string kWo = "動詞%F5/名詞%F1";

LabelWord Pause() {
    return W("、", "記号", "読点", "、", 0);
}

const std::string kMo = "名詞%F1/動詞%F2@0/形容詞%F2@0";
const std::string kKurai = "動詞%F2@1/形容詞%F2@1/名詞%F4@1";

// An adjective's stem before さ, そう, すぎる (高 of 高さ).
LabelWord Stem(const std::string& surface, const std::string& pron, int accent) {
    return W(surface, "形容詞", "自立", pron, accent, "*", surface, "ガル接続");
}

LabelWord QuotingTo() {
    LabelWord w = W("と", "助詞", "格助詞", "ト", 0, "動詞%F1");
    w.pos2 = "引用";
    return w;
}

LabelWord O() {
    return W("お", "接頭詞", "名詞接続", "オ", 0, "P1");
}

LabelWord Go() {
    return W("ご", "接頭詞", "名詞接続", "ゴ", 0, "P1");
}

// One case: words, the rules it is measured against (base), and the phrases with base alone
// and with base and the rule.
struct Case {
    const char* what;
    const char* base;
    const char* rule;
    std::vector<LabelWord> words;
    PhraseList without;
    PhraseList with;
};

void Check(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        const std::string both = std::string(c.base) == "none" ? std::string(c.rule)
                                                               : std::string(c.base) + "," + c.rule;
        ASSERT_NE(c.without, c.with) << c.what; // every case shows what its rule changes
        EXPECT_EQ(Phrases(c.words, c.base), c.without) << c.what;
        EXPECT_EQ(Phrases(c.words, both.c_str()), c.with) << c.what;
    }
}

// Rules that change where a phrase ends.
TEST(ContextRulesTest, PhraseBoundaries) {
    Check({
        // ようにと警告: the noun after the dependent noun is a phrase of its own.
        {"after-formal-noun",
         "none",
         "after-formal-noun",
         {W("よう", "名詞", "非自立", "ヨー", 1, "C3"),
          W("警告", "名詞", "サ変接続", "ケーコク", 0, "C2")},
         {{0, 3}},
         {{0, 1}, {1, 0}}},
        // 営業時間: one compound, エーギョージ]カン.
        {"action-time",
         "none",
         "action-time",
         {W("営業", "名詞", "サ変接続", "エーギョー", 0),
          W("時間", "名詞", "副詞可能", "ジカン", 0, "C2")},
         {{0, 0}, {1, 0}},
         {{0, 5}}},
        // 森の中で: モリノナ]カデ.
        {"no-naka",
         "none",
         "no-naka",
         {W("森", "名詞", "一般", "モリ", 0),
          W("の", "助詞", "連体化", "ノ", 0, "動詞%F2@0/形容詞%F1"),
          W("中", "名詞", "非自立", "ナカ", 1, "C4"),
          W("で", "助詞", "格助詞", "デ", 0, "名詞%F1")},
         {{0, 0}, {2, 1}},
         {{0, 4}}},
        // 有名になる: ユーメーニナ]ル.
        {"stem-ni-naru",
         "none",
         "stem-ni-naru",
         {W("有名", "名詞", "形容動詞語幹", "ユーメー", 0), W("に", "助詞", "副詞化", "ニ", 0, kNi),
          W("なる", "動詞", "自立", "ナル", 1, "*", "なる", "基本形")},
         {{0, 0}, {2, 1}},
         {{0, 6}}},
        // 手際よく: テギワヨ]ク; 容赦なく: ヨ]ーシャナク.
        {"noun-adjective flat",
         "none",
         "noun-adjective",
         {W("手際", "名詞", "一般", "テギワ", 0),
          W("よく", "形容詞", "自立", "ヨク", 1, "*", "よい", "連用テ接続")},
         {{0, 0}, {1, 1}},
         {{0, 4}}},
        {"noun-adjective accented",
         "none",
         "noun-adjective",
         {W("容赦", "名詞", "サ変接続", "ヨーシャ", 1),
          W("なく", "形容詞", "自立", "ナク", 1, "*", "ない", "連用テ接続")},
         {{0, 1}, {1, 1}},
         {{0, 1}}},
        // 太く短い: two phrases, フ]トク ミジカ]イ.
        {"predicate-pair adjectives",
         "none",
         "predicate-pair",
         {W("太く", "形容詞", "自立", "フトク", 1, "*", "太い", "連用テ接続"),
          W("短い", "形容詞", "自立", "ミジカイ", 3, "*", "短い", "基本形")},
         {{0, 1}},
         {{0, 1}, {1, 3}}},
        // 描く塗る: two phrases.
        {"predicate-pair verbs",
         "none",
         "predicate-pair",
         {W("描く", "動詞", "自立", "エガク", 2, "*", "描く", "基本形"),
          W("塗る", "動詞", "自立", "ヌル", 0, "*", "塗る", "基本形")},
         {{0, 2}},
         {{0, 2}, {1, 0}}},
        // 責任において、: one flat phrase, セキニンニオイテ.
        {"ni-oite おいて",
         "none",
         "ni-oite",
         {W("責任", "名詞", "一般", "セキニン", 0), W("に", "助詞", "格助詞", "ニ", 0, kNi),
          W("おい", "動詞", "自立", "オイ", 1, "*", "おく", "連用タ接続"),
          W("て", "助詞", "接続助詞", "テ", 0, kTe), Pause()},
         {{0, 0}, {2, 1}, {4, 0}},
         {{0, 0}, {4, 0}}},
        // 事象について、: ジショーニツ]イテ.
        {"ni-oite ついて",
         "none",
         "ni-oite",
         {W("事象", "名詞", "一般", "ジショー", 0), W("に", "助詞", "格助詞", "ニ", 0, kNi),
          W("つい", "動詞", "自立", "ツイ", 1, "*", "つく", "連用タ接続"),
          W("て", "助詞", "接続助詞", "テ", 0, kTe), Pause()},
         {{0, 0}, {2, 1}, {4, 0}},
         {{0, 5}, {4, 0}}},
        // 帰っていない: カ]エッテ イナイ, where the auxiliary's rule makes カエッテイ]ナイ.
        {"te-inai",
         "te-auxiliary",
         "te-inai",
         {W("帰っ", "動詞", "自立", "カエッ", 1, "*", "帰る", "連用タ接続"),
          W("て", "助詞", "接続助詞", "テ", 0, kTe),
          W("い", "動詞", "非自立", "イ", 0, "*", "いる", "未然形"),
          W("ない", "助動詞", "*", "ナイ", 1, kNai, "ない", "基本形")},
         {{0, 5}},
         {{0, 1}, {2, 0}}},
        // 分かるように: one phrase, ワカ]ルヨーニ.
        {"you-ni",
         "none",
         "you-ni",
         {W("分かる", "動詞", "自立", "ワカル", 2, "*", "分かる", "基本形"),
          W("よう", "名詞", "非自立", "ヨー", 1, "C3"), W("に", "助詞", "格助詞", "ニ", 0, kNi)},
         {{0, 2}, {1, 1}},
         {{0, 2}}},
        // 提出してください: テーシュツシテクダサ]イ (a flat て form: 行って).
        {"te-kudasai",
         "none",
         "te-kudasai",
         {W("行っ", "動詞", "自立", "イッ", 0, "*", "行く", "連用タ接続"),
          W("て", "助詞", "接続助詞", "テ", 0, kTe),
          W("ください", "動詞", "非自立", "クダサイ", 3, "*", "くださる", "命令ｉ")},
         {{0, 0}, {2, 3}},
         {{0, 6}}},
        // ご確認ください: one phrase, ゴカクニンクダサ]イ.
        {"prefix-verb",
         "prefix-flat",
         "prefix-verb",
         {Go(), W("確認", "名詞", "サ変接続", "カクニン", 0, "C2"),
          W("ください", "動詞", "非自立", "クダサイ", 3, "*", "くださる", "命令ｉ")},
         {{0, 0}, {2, 3}},
         {{0, 8}}},
    });
}

// Rules that move a phrase's nucleus.
TEST(ContextRulesTest, Nuclei) {
    Check({
        // 求め、: モト]メ, where the dictionary has モトメ].
        {"renyou-end",
         "none",
         "renyou-end",
         {W("求め", "動詞", "自立", "モトメ", 3, "*", "求める", "連用形"), Pause()},
         {{0, 3}, {1, 0}},
         {{0, 2}, {1, 0}}},
        // 黒髪であり: ク]ロカミデ ア]リ.
        {"aru-nucleus",
         "dearu-split",
         "aru-nucleus",
         {W("黒髪", "名詞", "一般", "クロカミ", 1),
          W("で", "助動詞", "*", "デ", 0, "名詞%F1", "だ"),
          W("あり", "助動詞", "*", "アリ", 2, "動詞%F1", "ある", "連用形")},
         {{0, 1}, {2, 2}},
         {{0, 1}, {2, 1}}},
        // 行こうと: イコ]ート.
        {"volitional",
         "none",
         "volitional",
         {W("行こ", "動詞", "自立", "イコ", 0, "*", "行く", "未然ウ接続"),
          W("う", "助動詞", "*", "ー", 0, "動詞%F1/特殊助動詞%F2@0", "う", "基本形"),
          W("と", "助詞", "格助詞", "ト", 0, "形容詞%F1/動詞%F1")},
         {{0, 0}},
         {{0, 2}}},
        // 説得力: セットク]リョク, not セットクリョ]ク.
        {"suffix-accent 力",
         "none",
         "suffix-accent",
         {W("説得", "名詞", "サ変接続", "セットク", 0, "C2"),
          W("力", "名詞", "接尾", "リョク", 1, "C2")},
         {{0, 5}},
         {{0, 4}}},
        // 専門家: flat, センモンカ.
        {"suffix-accent 家",
         "none",
         "suffix-accent",
         {W("専門", "名詞", "一般", "センモン", 0, "C2"), W("家", "名詞", "接尾", "カ", 0, "C3")},
         {{0, 4}},
         {{0, 0}}},
        // 案内人: flat, アンナイニン; 救急車: the nucleus on the noun's last mora,
        // キューキュー]シャ
        // (special-mora moves it off ー).
        {"suffix-accent 人",
         "none",
         "suffix-accent",
         {W("案内", "名詞", "サ変接続", "アンナイ", 3, "C2"),
          W("人", "名詞", "接尾", "ニン", 1, "C2")},
         {{0, 5}},
         {{0, 0}}},
        {"suffix-accent 車",
         "none",
         "suffix-accent",
         {W("救急", "名詞", "一般", "キューキュー", 0, "C2"),
          W("車", "名詞", "接尾", "シャ", 1, "C2")},
         {{0, 5}},
         {{0, 4}}},
        // 議員間: ギイ]ンカン (special-mora moves it off ン), not ギインカ]ン.
        {"suffix-accent 間",
         "none",
         "suffix-accent",
         {W("議員", "名詞", "一般", "ギイン", 1, "C1"), W("間", "名詞", "接尾", "カン", 1, "C2")},
         {{0, 4}},
         {{0, 3}}},
        // お酒を: flat, オサケヲ, not オ]サケヲ.
        {"prefix-flat お酒",
         "none",
         "prefix-flat",
         {O(), W("酒", "名詞", "一般", "サケ", 0, "C3"), W("を", "助詞", "格助詞", "ヲ", 0, kWo)},
         {{0, 1}},
         {{0, 0}}},
        // ご返事: flat too, the noun's own nucleus on its last mora (ヘンジ]).
        {"prefix-flat ご返事",
         "none",
         "prefix-flat",
         {Go(), W("返事", "名詞", "サ変接続", "ヘンジ", 3, "C2")},
         {{0, 2}},
         {{0, 0}}},
        // 高さ: タ]カサ, not タカ]サ; 優しさ: flat.
        {"adjective-sa 高さ",
         "none",
         "adjective-sa",
         {Stem("高", "タカ", 1), W("さ", "名詞", "接尾", "サ", 0, "C3")},
         {{0, 2}},
         {{0, 1}}},
        {"adjective-sa 優しさ",
         "none",
         "adjective-sa",
         {Stem("優し", "ヤサシ", 0), W("さ", "名詞", "接尾", "サ", 0, "C3")},
         {{0, 3}},
         {{0, 0}}},
        // 何も: ナニモ; 誰にも: ダレニモ; どのくらい: ドノクライ.
        {"interrogative-flat 何も",
         "none",
         "interrogative-flat",
         {W("何", "名詞", "代名詞", "ナニ", 1, "C3"), W("も", "助詞", "係助詞", "モ", 0, kMo)},
         {{0, 1}},
         {{0, 0}}},
        {"interrogative-flat 誰にも",
         "none",
         "interrogative-flat",
         {W("誰", "名詞", "代名詞", "ダレ", 1, "C3"), W("に", "助詞", "格助詞", "ニ", 0, kNi),
          W("も", "助詞", "係助詞", "モ", 0, "F2@0")},
         {{0, 1}},
         {{0, 0}}},
        {"interrogative-flat どのくらい",
         "none",
         "interrogative-flat",
         {W("どの", "連体詞", "*", "ドノ", 1), W("くらい", "助詞", "副助詞", "クライ", 1, kKurai)},
         {{0, 1}},
         {{0, 0}}},
        // 私たちは: ワタ]シタチワ, not ワタシ]タチワ.
        {"pronoun-tachi",
         "tachi",
         "pronoun-tachi",
         {W("私", "名詞", "代名詞", "ワタシ", 0, "C3"), W("たち", "名詞", "接尾", "タチ", 1, "C3"),
          W("は", "助詞", "係助詞", "ワ", 0, "名詞%F1")},
         {{0, 3}},
         {{0, 2}}},
        // 広まったと: ヒロマッタ]ト, where ta-flat leaves 広まった flat.
        {"quote-to",
         "ta-flat",
         "quote-to",
         {W("広まっ", "動詞", "自立", "ヒロマッ", 0, "*", "広まる", "連用タ接続"),
          W("た", "助動詞", "*", "タ", 0, "動詞%F2@1/形容詞%F4@-2", "た", "基本形"), QuotingTo()},
         {{0, 0}},
         {{0, 5}}},
        // 第二次: ダ]イニジ, not ダイニ]ジ.
        {"dai-number",
         "none",
         "dai-number",
         {W("第", "接頭詞", "数接続", "ダイ", 1, "P2"), W("二", "名詞", "数", "ニ", 1, "C3"),
          W("次", "名詞", "接尾", "ジ", 1, "C3")},
         {{0, 3}},
         {{0, 1}}},
        // 敵との: テキト]ノ; 破滅への: ハメツエ]ノ.
        {"to-he-particle と",
         "none",
         "to-he-particle",
         {W("敵", "名詞", "一般", "テキ", 0), W("と", "助詞", "格助詞", "ト", 0, "名詞%F1"),
          W("の", "助詞", "連体化", "ノ", 0, "動詞%F2@0/形容詞%F1")},
         {{0, 0}},
         {{0, 3}}},
        {"to-he-particle へ",
         "none",
         "to-he-particle",
         {W("破滅", "名詞", "サ変接続", "ハメツ", 0), W("へ", "助詞", "格助詞", "エ", 0, "名詞%F1"),
          W("の", "助詞", "連体化", "ノ", 0, "動詞%F2@0/形容詞%F1")},
         {{0, 0}},
         {{0, 4}}},
        // 進むにつれ: ススム]ニ.
        {"ni-after-flat-verb",
         "ni-after-verb",
         "ni-after-flat-verb",
         {W("進む", "動詞", "自立", "ススム", 0, "*", "進む", "基本形"),
          W("に", "助詞", "格助詞", "ニ", 0, kNi)},
         {{0, 0}},
         {{0, 3}}},
        // 練り方: ネリカ]タ, not ネリ]カタ.
        {"verb-kata",
         "none",
         "verb-kata",
         {W("練り", "動詞", "自立", "ネリ", 2, "*", "練る", "連用形"),
          W("方", "名詞", "接尾", "カタ", 1, "C3")},
         {{0, 2}},
         {{0, 3}}},
        // あれば: ア]レバ, not アレ]バ.
        {"are-ba",
         "none",
         "are-ba",
         {W("あれ", "動詞", "自立", "アレ", 0, "*", "ある", "仮定形"),
          W("ば", "助詞", "接続助詞", "バ", 0, "動詞%F2@0/形容詞%F1")},
         {{0, 2}},
         {{0, 1}}},
        // あるらしい: アルラシ]イ, not ア]ルラシイ; 残るらしく: ノコルラ]シク.
        {"rashii らしい",
         "none",
         "rashii",
         {W("ある", "動詞", "自立", "アル", 1, "*", "ある", "基本形"),
          W("らしい", "助動詞", "*", "ラシイ", 2, "名詞%F2@2/動詞%F2@2/形容詞%F2@2", "らしい",
            "基本形")},
         {{0, 1}},
         {{0, 4}}},
        {"rashii らしく",
         "none",
         "rashii",
         {W("残る", "動詞", "自立", "ノコル", 0, "*", "残る", "基本形"),
          W("らしく", "助動詞", "*", "ラシク", 2, "名詞%F4@2/動詞%F4@2", "らしい", "連用テ接続")},
         {{0, 5}},
         {{0, 4}}},
        // 美しく: ウツクシ]ク, where adjective-ku alone gives ウツク]シク.
        {"adjective-ku-long",
         "adjective-ku",
         "adjective-ku-long",
         {W("美しく", "形容詞", "自立", "ウツクシク", 4, "*", "美しい", "連用テ接続")},
         {{0, 3}},
         {{0, 4}}},
        // ３回: サンカイ; 一万円: イチマンエン.
        {"counter-flat 回",
         "none",
         "counter-flat",
         {W("３", "名詞", "数", "サン", 1), W("回", "名詞", "接尾", "カイ", 1, "C3")},
         {{0, 2}},
         {{0, 0}}},
        {"counter-flat 円",
         "none",
         "counter-flat",
         {W("一万", "名詞", "数", "イチマン", 3), W("円", "名詞", "接尾", "エン", 1, "C3")},
         {{0, 4}},
         {{0, 0}}},
    });
}

// Where the rules must leave the phrases as they are.
TEST(ContextRulesTest, NeighboursLeftAlone) {
    const char* all = "all";
    // 求めて: the て form's nucleus is ichidan-te's (モト]メテ), not moved once more.
    EXPECT_EQ(Phrases({W("求め", "動詞", "自立", "モトメ", 3, "*", "求める", "連用形"),
                       W("て", "助詞", "接続助詞", "テ", 0, kTe)},
                      "renyou-end"),
              (PhraseList{{0, 3}}));
    // 書き続け: a 連用形 inside a phrase keeps what the combination gives.
    EXPECT_EQ(Phrases({W("読み", "動詞", "自立", "ヨミ", 2, "*", "読む", "連用形"),
                       W("続け", "動詞", "非自立", "ツズケ", 3, "C1", "続ける", "連用形")},
                      "renyou-end"),
              Phrases({W("読み", "動詞", "自立", "ヨミ", 2, "*", "読む", "連用形"),
                       W("続け", "動詞", "非自立", "ツズケ", 3, "C1", "続ける", "連用形")},
                      "none"));
    // 可能とされる: とされる is a phrase of its own; として joins (to-suru).
    const std::vector<LabelWord> sareru = {
        W("可能", "名詞", "形容動詞語幹", "カノー", 0), W("と", "助詞", "格助詞", "ト", 0, kNi),
        W("さ", "動詞", "自立", "サ", 0, "*", "する", "未然レル接続"),
        W("れる", "動詞", "接尾", "レル", 0, "*", "れる", "基本形")};
    EXPECT_EQ(Phrases(sareru, "to-suru"), (PhraseList{{0, 0}, {2, 0}}));
    // においては: は after て keeps two phrases.
    EXPECT_EQ(
        Phrases({W("歴史", "名詞", "一般", "レキシ", 0), W("に", "助詞", "格助詞", "ニ", 0, kNi),
                 W("おい", "動詞", "自立", "オイ", 1, "*", "おく", "連用タ接続"),
                 W("て", "助詞", "接続助詞", "テ", 0, kTe),
                 W("は", "助詞", "係助詞", "ワ", 0, "名詞%F1")},
                "ni-oite"),
        (PhraseList{{0, 0}, {2, 1}}));
    // A long phrase before において stays apart: 鋳造工程において.
    EXPECT_EQ(Phrases({W("鋳造工程", "名詞", "一般", "チューゾーコーテー", 0),
                       W("に", "助詞", "格助詞", "ニ", 0, kNi),
                       W("おい", "動詞", "自立", "オイ", 1, "*", "おく", "連用タ接続"),
                       W("て", "助詞", "接続助詞", "テ", 0, kTe), Pause()},
                      "ni-oite"),
              (PhraseList{{0, 0}, {2, 1}, {4, 0}}));
    // 変えるように after a flat verb: よう starts its phrase (ヨ]ーニ).
    EXPECT_EQ(Phrases({W("変える", "動詞", "自立", "カエル", 0, "*", "変える", "基本形"),
                       W("よう", "名詞", "非自立", "ヨー", 1, "C3"),
                       W("に", "助詞", "格助詞", "ニ", 0, kNi)},
                      "you-ni"),
              (PhraseList{{0, 0}, {1, 1}}));
    // 見ていない after a flat て form: いない joins (ミテイナイ).
    EXPECT_EQ(Phrases({W("見", "動詞", "自立", "ミ", 0, "*", "見る", "連用形"),
                       W("て", "助詞", "接続助詞", "テ", 0, kTe),
                       W("い", "動詞", "非自立", "イ", 0, "*", "いる", "未然形"),
                       W("ない", "助動詞", "*", "ナイ", 1, kNai, "ない", "基本形")},
                      "te-auxiliary,te-inai"),
              Phrases({W("見", "動詞", "自立", "ミ", 0, "*", "見る", "連用形"),
                       W("て", "助詞", "接続助詞", "テ", 0, kTe),
                       W("い", "動詞", "非自立", "イ", 0, "*", "いる", "未然形"),
                       W("ない", "助動詞", "*", "ナイ", 1, kNai, "ない", "基本形")},
                      "te-auxiliary"));
    // 木の中 after an accented noun: two phrases, キ]ノ ナ]カ.
    EXPECT_EQ(Phrases({W("木", "名詞", "一般", "キ", 1),
                       W("の", "助詞", "連体化", "ノ", 0, "動詞%F2@0/形容詞%F1"),
                       W("中", "名詞", "非自立", "ナカ", 1, "C4")},
                      "no-naka"),
              (PhraseList{{0, 1}, {2, 1}}));
    // ほとんどない: a noun that can be an adverb stays apart from the adjective.
    EXPECT_EQ(Phrases({W("ほとんど", "名詞", "副詞可能", "ホトンド", 2),
                       W("ない", "形容詞", "自立", "ナイ", 1, "*", "ない", "基本形")},
                      "noun-adjective"),
              (PhraseList{{0, 2}, {1, 1}}));
    // 上手になる after an accented stem: two phrases.
    EXPECT_EQ(Phrases({W("上手", "名詞", "形容動詞語幹", "ジョーズ", 3),
                       W("に", "助詞", "副詞化", "ニ", 0, kNi),
                       W("なる", "動詞", "自立", "ナル", 1, "*", "なる", "基本形")},
                      "stem-ni-naru"),
              (PhraseList{{0, 3}, {2, 1}}));
    // 書いてください after an accented て form: two phrases, as before.
    const std::vector<LabelWord> kaite = {
        W("書い", "動詞", "自立", "カイ", 1, "*", "書く", "連用タ接続"),
        W("て", "助詞", "接続助詞", "テ", 0, kTe),
        W("ください", "動詞", "非自立", "クダサイ", 3, "*", "くださる", "命令ｉ")};
    EXPECT_EQ(Phrases(kaite, all), (PhraseList{{0, 1}, {2, 3}}));
    // 家 read ケ (武田家) is not the suffix カ of 専門家.
    EXPECT_EQ(Phrases({W("武田", "名詞", "固有名詞", "タケダ", 1, "C1"),
                       W("家", "名詞", "接尾", "ケ", 0, "C3")},
                      "suffix-accent"),
              (PhraseList{{0, 3}}));
    // ご意見: a noun with its nucleus on its first mora keeps it (ゴイ]ケン); ください after it
    // starts a phrase of its own.
    const std::vector<LabelWord> goiken = {
        Go(), W("意見", "名詞", "サ変接続", "イケン", 1, "C1"),
        W("ください", "動詞", "非自立", "クダサイ", 3, "*", "くださる", "命令ｉ")};
    EXPECT_EQ(Phrases(goiken, "prefix-flat,prefix-verb"), (PhraseList{{0, 2}, {2, 3}}));
    // 御 read ミ (御心) is not the prefix オ or ゴ.
    EXPECT_EQ(Phrases({W("御", "接頭詞", "名詞接続", "ミ", 0, "P1"),
                       W("心", "名詞", "一般", "ココロ", 2, "C2")},
                      "prefix-flat"),
              (PhraseList{{0, 2}}));
    // 寂しさ: a stem of three morae keeps the nucleus on its last (サビシ]サ).
    EXPECT_EQ(Phrases({Stem("寂し", "サビシ", 3), W("さ", "名詞", "接尾", "サ", 0, "C3")},
                      "adjective-sa"),
              (PhraseList{{0, 3}}));
    // 何でも: でも keeps the pronoun's nucleus (ナ]ンデモ); どこも is no 誰 or 何.
    EXPECT_EQ(Phrases({W("何", "名詞", "代名詞", "ナン", 1, "C3"),
                       W("でも", "助詞", "副助詞", "デモ", 1, kMo)},
                      "interrogative-flat"),
              (PhraseList{{0, 1}}));
    EXPECT_EQ(Phrases({W("どこ", "名詞", "代名詞", "ドコ", 1, "C3"),
                       W("も", "助詞", "係助詞", "モ", 0, kMo)},
                      "interrogative-flat"),
              (PhraseList{{0, 1}}));
    // 僕たち: a pronoun of two morae keeps tachi's nucleus (ボク]タチ).
    EXPECT_EQ(Phrases({W("僕", "名詞", "代名詞", "ボク", 0, "C3"),
                       W("たち", "名詞", "接尾", "タチ", 1, "C3")},
                      "tachi,pronoun-tachi"),
              (PhraseList{{0, 2}}));
    // 第 before a noun that is no number: the rules without dai-number.
    const std::vector<LabelWord> daisen = {W("第", "接頭詞", "数接続", "ダイ", 1, "P2"),
                                           W("線", "名詞", "接尾", "セン", 1, "C3")};
    EXPECT_EQ(Phrases(daisen, "dai-number"), Phrases(daisen, "none"));
    // 行くとは: と after a verb is left to the other rules; 森との after an accented noun keeps
    // its nucleus (モ]リトノ).
    EXPECT_EQ(Phrases({W("行く", "動詞", "自立", "イク", 0, "*", "行く", "基本形"),
                       W("と", "助詞", "格助詞", "ト", 0, "動詞%F1"),
                       W("は", "助詞", "係助詞", "ワ", 0, "名詞%F1")},
                      "to-he-particle"),
              (PhraseList{{0, 0}}));
    EXPECT_EQ(
        Phrases({W("森", "名詞", "一般", "モリ", 1), W("と", "助詞", "格助詞", "ト", 0, "名詞%F1"),
                 W("の", "助詞", "連体化", "ノ", 0, "動詞%F2@0/形容詞%F1")},
                "to-he-particle"),
        (PhraseList{{0, 1}}));
    // 築くには: an accented verb keeps its nucleus (キズ]クニワ).
    EXPECT_EQ(Phrases({W("築く", "動詞", "自立", "キズク", 2, "*", "築く", "基本形"),
                       W("に", "助詞", "格助詞", "ニ", 0, kNi)},
                      "ni-after-verb,ni-after-flat-verb"),
              (PhraseList{{0, 2}}));
    // 彼の方: 方 after a noun (ホー or カタ) is left to its own rule.
    const std::vector<LabelWord> kata = {W("彼", "名詞", "代名詞", "カレ", 1),
                                         W("方", "名詞", "接尾", "カタ", 1, "C3")};
    EXPECT_EQ(Phrases(kata, "verb-kata"), Phrases(kata, "none"));
    // 晴れれば: another verb's 仮定形 keeps the dictionary's accent.
    const std::vector<LabelWord> harereba = {
        W("晴れれ", "動詞", "自立", "ハレレ", 0, "*", "晴れる", "仮定形"),
        W("ば", "助詞", "接続助詞", "バ", 0, "動詞%F2@0/形容詞%F1")};
    EXPECT_EQ(Phrases(harereba, "are-ba"), Phrases(harereba, "none"));
    // 高く (three morae) and 美しければ (the ば form) move the nucleus as before.
    EXPECT_EQ(Phrases({W("高く", "形容詞", "自立", "タカク", 2, "*", "高い", "連用テ接続")},
                      "adjective-ku,adjective-ku-long"),
              (PhraseList{{0, 1}}));
    EXPECT_EQ(Phrases({W("美しけれ", "形容詞", "自立", "ウツクシケレ", 4, "*", "美しい", "仮定形")},
                      "adjective-ku,adjective-ku-long"),
              (PhraseList{{0, 3}}));
    // 練習回: 回 after a noun that is no number keeps its rule.
    EXPECT_EQ(Phrases({W("練習", "名詞", "サ変接続", "レンシュー", 0, "C2"),
                       W("回", "名詞", "接尾", "カイ", 1, "C3")},
                      "counter-flat"),
              (PhraseList{{0, 4}}));
    // 人 read ジン (日本人) is not the suffix ニン of 案内人.
    const std::vector<LabelWord> nihonjin = {W("日本", "名詞", "固有名詞", "ニホン", 2, "C1"),
                                             W("人", "名詞", "接尾", "ジン", 1, "C1")};
    EXPECT_EQ(Phrases(nihonjin, "suffix-accent"), Phrases(nihonjin, "none"));
}

} // namespace
} // namespace yomi6::labels
