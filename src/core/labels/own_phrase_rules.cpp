#include "labels/own_phrase_rules.h"

#include "labels/word_tests.h"

#include <string>

namespace yomi6::labels {

namespace {

using Words = std::vector<LabelWord>;

struct OwnPhraseRule {
    std::string_view name;
    int chain; // 1 joins the phrase before, 0 starts one
    bool (*applies)(const Words& w, std::size_t i);
    // The word's combination rule once it joins; nullptr keeps its entry's.
    std::string (*combine)(const LabelWord& w);
};

std::string KeepAccent(const LabelWord&) {
    return "F1";
}

// A flat phrase takes the word's own nucleus; an accented one keeps its own.
std::string OwnNucleusIfFlat(const LabelWord& w) {
    return w.accent == 0 ? std::string("F1") : "F2@" + std::to_string(w.accent);
}

// The verbs that follow a て form as its auxiliary (いる in 読んでいる, しまう, おく ...). 下さる
// is not one of them: ください after a て form is a phrase of its own.
bool IsTeAuxiliary(const LabelWord& w) {
    return Is(w, "動詞", "非自立") &&
           IsOneOf(w.base, {"いる", "居る",     "おる",   "しまう", "仕舞う", "おく",   "置く",
                            "くる", "来る",     "いく",   "行く",   "ゆく",   "みる",   "見る",
                            "ある", "有る",     "あげる", "上げる", "くれる", "呉れる", "もらう",
                            "貰う", "いただく", "頂く",   "やる",   "みせる", "見せる"});
}

// The continuative form of an adjective or of ない, たい (なく, たく, よく) before なる.
bool IsKuForm(const LabelWord& w) {
    return (Is(w, "形容詞") || Is(w, "助動詞")) && w.conjugationForm.rfind("連用", 0) == 0 &&
           w.surface.size() >= 3 && w.surface.compare(w.surface.size() - 3, 3, "く") == 0;
}

// Whether no word after i says anything (the sentence ends there).
bool LastSaid(const Words& w, std::size_t i) {
    for (std::size_t k = i + 1; k < w.size(); ++k) {
        if (w[k].moraCount > 0) {
            return false;
        }
    }
    return true;
}

// The morae of the phrase that word i would join (its words before i).
int PhraseMoraeBefore(const Words& w, std::size_t i) {
    int morae = 0;
    for (std::size_t k = i; k > 0; --k) {
        morae += w[k - 1].moraCount;
        if (w[k - 1].chain != 1) {
            break;
        }
    }
    return morae;
}

constexpr OwnPhraseRule kRules[] = {
    // 勉強する, 合格できる: する keeps the noun's accent, できる gives a flat noun its own.
    {"suru", 1,
     [](const Words& w, std::size_t i) {
         return Is(w[i - 1], "名詞", "サ変接続") && Is(w[i], "動詞", "自立") &&
                IsOneOf(w[i].base, {"する", "できる", "出来る"});
     },
     [](const LabelWord& w) { return w.base == "する" ? KeepAccent(w) : OwnNucleusIfFlat(w); }},
    // 理解する, 満足した: after a noun of action with an accent of its own, する starts a phrase
    // (リ]カイ スル); a flat noun and する stay one (suru).
    {"suru-split", 0,
     [](const Words& w, std::size_t i) {
         return Is(w[i - 1], "名詞", "サ変接続") && w[i - 1].accent != 0 &&
                Is(w[i], "動詞", "自立") && IsOneOf(w[i].base, {"する", "できる", "出来る"});
     },
     nullptr},
    // するのに, いないので: の and ん join by their entry's rule. 読むこと, 老後のため: こと after
    // a predicate and ため after の join, an accented phrase keeping its nucleus, a flat one
    // taking theirs (ツカウコト]). The other formal nouns: accent_type_stage.cpp.
    {"formal-noun", 1,
     [](const Words& w, std::size_t i) {
         return Is(w[i], "名詞", "非自立") && IsOneOf(w[i].base, {"の", "ん"}) &&
                IsPredicate(w[i - 1]);
     },
     nullptr},
    {"formal-noun", 1,
     [](const Words& w, std::size_t i) {
         return Is(w[i], "名詞", "非自立") &&
                ((IsOneOf(w[i].base, {"こと", "事"}) && IsPredicate(w[i - 1])) ||
                 (IsOneOf(w[i].base, {"ため", "為"}) && Is(w[i - 1], "助詞", "連体化")));
     },
     OwnNucleusIfFlat},
    // 読んでいる, 忘れてしまう: the verb's accent stays.
    {"te-auxiliary", 1,
     [](const Words& w, std::size_t i) { return IsTe(w[i - 1]) && IsTeAuxiliary(w[i]); },
     KeepAccent},
    // 謝罪しており, 暮らしてきた, やってくる: おり (before no auxiliary) and くる after a て form
    // put a flat phrase's nucleus on their first mora (シャザイシテオ]リ, クラシテキ]タ).
    {"te-oru-kuru", 1,
     [](const Words& w, std::size_t i) {
         const bool oru = IsOneOf(w[i].base, {"おる", "居る"}) && w[i].surface == "おり" &&
                          !(i + 1 < w.size() && Is(w[i + 1], "助動詞"));
         const bool kuru = IsOneOf(w[i].base, {"くる", "来る"});
         return Is(w[i], "動詞", "非自立") && (oru || kuru) && IsTe(w[i - 1]);
     },
     [](const LabelWord&) { return std::string("F2@1"); }},
    // ではない, 大きくない: ない is a phrase of its own (ナ]イ).
    {"nai", 0,
     [](const Words& w, std::size_t i) {
         const LabelWord& p = w[i - 1];
         return w[i].base == "ない" && (Is(w[i], "助動詞") || Is(w[i], "形容詞")) &&
                (Is(p, "助詞", "係助詞") || (Is(p, "形容詞") && IsKuForm(p)));
     },
     nullptr},
    // なくなる, 飲みたくなる: なる joins the continuative form, its accent kept.
    {"naru", 1,
     [](const Words& w, std::size_t i) {
         return Is(w[i], "動詞", "自立") && w[i].base == "なる" && IsKuForm(w[i - 1]);
     },
     KeepAccent},
    // かけられて, 奪われた: after an accented verb the nucleus moves to the mora before the
    // suffix's last (カケラ]レテ, ウバワ]レタ); a flat verb's phrase stays flat.
    {"verb-suffix", 1,
     [](const Words& w, std::size_t i) {
         return Is(w[i], "動詞", "接尾") &&
                IsOneOf(w[i].base, {"れる", "られる", "せる", "させる"}) && w[i - 1].base != "する";
     },
     [](const LabelWord& w) { return "F3@" + std::to_string(w.moraCount - 1); }},
    // 調べなさい, お伝えください: the honorific verb's own nucleus (シラベナサ]イ).
    {"honorific", 1,
     [](const Words& w, std::size_t i) {
         return Is(w[i], "動詞", "非自立") &&
                IsOneOf(w[i].base, {"なさる", "下さる", "くださる"}) && Is(w[i - 1], "動詞") &&
                w[i - 1].conjugationForm.rfind("連用", 0) == 0;
     },
     [](const LabelWord&) { return std::string("C1"); }},
    // 行った, 遊んだ: the past of a flat verb stays flat (イッタ), an accented one keeps its
    // nucleus; the entry's rule would put one on た. たら keeps it (行ったら イッタ]ラ).
    {"ta-flat", 1,
     [](const Words& w, std::size_t i) {
         return Is(w[i], "助動詞") && w[i].base == "た" && Is(w[i - 1], "動詞") &&
                !IsOneOf(w[i].surface, {"たら", "だら"});
     },
     [](const LabelWord&) { return std::string(kNone); }},
    // 召使たち, 男の子たち: たち keeps an accented noun's nucleus (メシツ]カイタチ); a flat noun
    // takes it on its last mora, as the entry has it (ショーネ]ンタチ).
    {"tachi", 1,
     [](const Words& w, std::size_t i) {
         return Is(w[i], "名詞", "接尾") && IsOneOf(w[i].base, {"たち", "達"}) &&
                Is(w[i - 1], "名詞");
     },
     [](const LabelWord&) { return std::string("C53"); }},
    // 伝統的な, 経済的に: a word in 的 is flat (デントーテキナ).
    {"teki-flat", 1,
     [](const Words& w, std::size_t i) { return Is(w[i], "名詞", "接尾") && w[i].base == "的"; },
     [](const LabelWord&) { return std::string("C4"); }},
    // 子供として, 行くとしたら: する in its し form after the particle と joins it, the accent
    // kept; とされる, とする。, とすれば stay two phrases.
    {"to-suru", 1,
     [](const Words& w, std::size_t i) {
         return Is(w[i], "動詞", "自立") && w[i].base == "する" && w[i].surface == "し" &&
                Is(w[i - 1], "助詞", "格助詞") && w[i - 1].surface == "と";
     },
     KeepAccent},
    // 早く歩く, 重く引きずる: a verb after an adjective's く form starts its own phrase.
    {"adverbial-ku", 0,
     [](const Words& w, std::size_t i) {
         return Is(w[i], "動詞", "自立") && w[i].base != "なる" && Is(w[i - 1], "形容詞") &&
                IsKuForm(w[i - 1]);
     },
     nullptr},
    // 海抜２９メートル, あと１カ月: a number starts its own phrase after another noun.
    {"number-phrase", 0,
     [](const Words& w, std::size_t i) {
         return Is(w[i], "名詞", "数") && Is(w[i - 1], "名詞") && w[i - 1].pos1 != "数" &&
                w[i - 1].pos1 != "接頭";
     },
     nullptr},
    // どうやって, どうなって, どのように: どう joins the verb after it, どの a dependent noun,
    // their accent kept (ド]ーヤッテ, ド]ノヨーニ).
    {"dou", 1,
     [](const Words& w, std::size_t i) {
         return (Is(w[i - 1], "副詞") && w[i - 1].base == "どう" && Is(w[i], "動詞")) ||
                (Is(w[i - 1], "連体詞") && w[i - 1].base == "どの" && Is(w[i], "名詞", "非自立"));
     },
     KeepAccent},
    // みんな図書館に, それ自体: a pronoun and the noun after it are two phrases.
    {"pronoun", 0,
     [](const Words& w, std::size_t i) {
         return Is(w[i - 1], "名詞", "代名詞") && Is(w[i], "名詞") && w[i].pos1 != "接尾" &&
                w[i].pos1 != "非自立";
     },
     nullptr},
    // 自然現象, 有効期限: the stem of an adjectival noun right before a noun forms a compound
    // with it, which the compound rules of the second noun accent.
    {"compound-stem", 1,
     [](const Words& w, std::size_t i) {
         return Is(w[i - 1], "名詞", "形容動詞語幹") &&
                (Is(w[i], "名詞", "一般") || Is(w[i], "名詞", "サ変接続"));
     },
     nullptr},
    // 未定である, 必要である: ある after で takes the nucleus on its ア when the phrase is flat
    // (ミテーデア]ル).
    {"dearu", 1,
     [](const Words& w, std::size_t i) {
         return w[i].base == "ある" && w[i - 1].surface == "で" &&
                (Is(w[i - 1], "助動詞") || Is(w[i - 1], "助詞", "格助詞"));
     },
     [](const LabelWord&) { return std::string("F2@1"); }},
    // 築くには, 出すには: に after a verb's plain form keeps the verb's accent.
    {"ni-after-verb", 1,
     [](const Words& w, std::size_t i) {
         return Is(w[i], "助詞", "格助詞") && w[i].surface == "に" && Is(w[i - 1], "動詞") &&
                w[i - 1].conjugationForm == "基本形";
     },
     KeepAccent},
    // 進むにつれ: after a flat verb's plain form, に takes the phrase's nucleus on the verb's last
    // mora (ススム]ニ); an accented verb keeps its own (ni-after-verb).
    {"ni-after-flat-verb", 1,
     [](const Words& w, std::size_t i) {
         return Is(w[i], "助詞", "格助詞") && w[i].surface == "に" && Is(w[i - 1], "動詞") &&
                w[i - 1].conjugationForm == "基本形";
     },
     [](const LabelWord&) { return std::string("F2@0"); }},
    // 花の, 島の: の after a noun with its nucleus on its last mora leaves the phrase flat
    // (ハナノ, where ハナ]ガ); a nucleus elsewhere stays.
    {"odaka-no", 1,
     [](const Words& w, std::size_t i) {
         const LabelWord& p = w[i - 1];
         return Is(w[i], "助詞", "連体化") && Is(p, "名詞") && p.pos1 != "非自立" &&
                p.pos1 != "数" && p.moraCount >= 2;
     },
     [](const LabelWord&) { return std::string("F15"); }},
    // 政府によって, 火落ちにより, 数によれば: よる after に joins the noun's phrase, its accent
    // kept (セ]ーフニヨッテ).
    {"ni-yoru", 1,
     [](const Words& w, std::size_t i) {
         return Is(w[i], "動詞", "自立") && IsOneOf(w[i].base, {"よる", "因る", "依る", "拠る"}) &&
                Is(w[i - 1], "助詞", "格助詞") && w[i - 1].surface == "に";
     },
     KeepAccent},
    // 責任において、, 写本についての: おいて and ついて after に join a short phrase (five morae
    // at most with に) before a pause or の (においては, について話す, 鋳造工程において start a
    // phrase). おいて keeps the phrase's accent
    // (セキニンニオイテ), ついて gives a flat one its own (ジショーニツ]イテ).
    {"ni-oite", 1,
     [](const Words& w, std::size_t i) {
         return Is(w[i], "動詞", "自立") && IsOneOf(w[i].surface, {"おい", "於い", "つい"}) &&
                IsOneOf(w[i].base, {"おく", "於く", "つく", "就く"}) &&
                Is(w[i - 1], "助詞", "格助詞") && w[i - 1].surface == "に" && i + 1 < w.size() &&
                IsTe(w[i + 1]) &&
                (i + 2 == w.size() || w[i + 2].moraCount == 0 || Is(w[i + 2], "助詞", "連体化")) &&
                PhraseMoraeBefore(w, i) <= 5;
     },
     [](const LabelWord& w) { return w.surface == "つい" ? OwnNucleusIfFlat(w) : KeepAccent(w); }},
    // 回っているという説: いう between the particle と and a noun joins the phrase before, its
    // accent kept; before a formal noun (ということ, というもの) or at a clause's end it does not.
    {"to-iu", 1,
     [](const Words& w, std::size_t i) {
         return Is(w[i], "動詞", "自立") && IsOneOf(w[i].base, {"いう", "言う"}) &&
                Is(w[i - 1], "助詞", "格助詞") && w[i - 1].surface == "と" && i + 1 < w.size() &&
                Is(w[i + 1], "名詞") && w[i + 1].pos1 != "非自立";
     },
     KeepAccent},
    // 建設するため, 多かったため: ため after a predicate joins its phrase, a flat one taking its
    // nucleus (ケンセツスルタメ]).
    {"tame", 1,
     [](const Words& w, std::size_t i) {
         return Is(w[i], "名詞", "非自立") && IsOneOf(w[i].base, {"ため", "為"}) &&
                IsPredicate(w[i - 1]);
     },
     OwnNucleusIfFlat},
    // そのため, そのまま: その, この, あの and ため or まま are one flat phrase (ソノタメ).
    {"sono-tame", 1,
     [](const Words& w, std::size_t i) {
         return Is(w[i], "名詞") && IsOneOf(w[i].base, {"ため", "為", "まま", "儘"}) &&
                Is(w[i - 1], "連体詞") && IsOneOf(w[i - 1].base, {"その", "この", "あの"});
     },
     KeepAccent},
    // 肉眼では, 増加には, 銀行からの: は and の after a particle put a flat phrase's nucleus on
    // that particle (ニクガンデ]ワ).
    {"particle-wa", 1,
     [](const Words& w, std::size_t i) {
         return Is(w[i], "助詞") && IsOneOf(w[i].surface, {"は", "の"}) &&
                Is(w[i - 1], "助詞", "格助詞") && IsOneOf(w[i - 1].surface, {"で", "に", "から"});
     },
     [](const LabelWord&) { return std::string("F2@0"); }},
    // 敵との, 意匠とは, 破滅への: は and の after a noun's と or へ put a flat phrase's nucleus on
    // that particle too (テキト]ノ, ハメツエ]ノ).
    {"to-he-particle", 1,
     [](const Words& w, std::size_t i) {
         return i >= 2 && Is(w[i], "助詞") && IsOneOf(w[i].surface, {"は", "の"}) &&
                Is(w[i - 1], "助詞", "格助詞") && IsOneOf(w[i - 1].surface, {"と", "へ"}) &&
                Is(w[i - 2], "名詞");
     },
     [](const LabelWord&) { return std::string("F2@0"); }},
    // 成長すると, 連絡したが: the conjunctive particles と and が after a predicate put a flat
    // phrase's nucleus on its last mora (セーチョースル]ト, レンラクシタ]ガ).
    {"conjunctive-final-mora", 1,
     [](const Words& w, std::size_t i) {
         return Is(w[i], "助詞", "接続助詞") && IsOneOf(w[i].surface, {"と", "が"}) &&
                (Is(w[i - 1], "動詞") || Is(w[i - 1], "助動詞"));
     },
     [](const LabelWord&) { return std::string("F2@0"); }},
    // 週末にも, 原因とも, 会社でも: も after に, と or で puts a flat phrase's nucleus on that
    // particle (シューマツニ]モ).
    {"mo-after-particle", 1,
     [](const Words& w, std::size_t i) {
         return Is(w[i], "助詞", "係助詞") && w[i].surface == "も" &&
                Is(w[i - 1], "助詞", "格助詞") && IsOneOf(w[i - 1].surface, {"に", "と", "で"});
     },
     [](const LabelWord&) { return std::string("F2@0"); }},
    // 作ったり, 修正したり: たり keeps an accented verb's nucleus (ツク]ッタリ), where its entry
    // moves it to た, and puts a flat phrase's on た (シューセーシタ]リ).
    {"tari", 1,
     [](const Words& w, std::size_t i) {
         return Is(w[i], "助詞", "並立助詞") && IsOneOf(w[i].surface, {"たり", "だり"}) &&
                (Is(w[i - 1], "動詞") || Is(w[i - 1], "助動詞"));
     },
     [](const LabelWord&) { return std::string("F2@1"); }},
    // 行くだろう, 行くとしたら: だろう and と after a flat verb put the nucleus on its last
    // mora (イク]ダロー).
    {"verb-final-mora", 1,
     [](const Words& w, std::size_t i) {
         return Is(w[i - 1], "動詞") && w[i - 1].conjugationForm == "基本形" &&
                ((Is(w[i], "助動詞") && w[i].surface == "だろ") ||
                 (Is(w[i], "助詞", "格助詞") && w[i].surface == "と"));
     },
     [](const LabelWord&) { return std::string("F2@0"); }},
    // 広まったと, 無駄だと, 行かないと: the quoting と after た, だ or ない puts a flat
    // phrase's nucleus on the mora before it (ムダダ]ト, イカナ]イト by nai-nucleus).
    {"quote-to", 1,
     [](const Words& w, std::size_t i) {
         return Is(w[i], "助詞", "格助詞") && w[i].pos2 == "引用" && w[i].surface == "と" &&
                Is(w[i - 1], "助動詞") && IsOneOf(w[i - 1].base, {"た", "だ", "ない"});
     },
     [](const LabelWord&) { return std::string("F2@0"); }},
    // 提出しなければ, やらなくては, 行かなかった: なけれ, なく and なかっ put a flat phrase's
    // nucleus on their な (シナ]ケレバ); after a verb that starts the phrase, an accented one
    // has it on its last mora (ワカラ]ナケレバ).
    {"nakereba", 1,
     [](const Words& w, std::size_t i) {
         return Is(w[i], "助動詞") && w[i].base == "ない" &&
                IsOneOf(w[i].surface, {"なけれ", "なく", "なかっ"}) && IsPredicate(w[i - 1]);
     },
     [](const LabelWord&) { return std::string("F2@1"); }},
    {"nakereba", 1,
     [](const Words& w, std::size_t i) {
         return Is(w[i], "助動詞") && w[i].base == "ない" &&
                IsOneOf(w[i].surface, {"なけれ", "なく", "なかっ"}) && Is(w[i - 1], "動詞") &&
                w[i - 1].chain != 1;
     },
     [](const LabelWord&) { return std::string("F23@1"); }},
    // 男性だった, お困りでしたら: だっ and でし put a flat phrase's nucleus on their first mora
    // (ダンセーダ]ッタ).
    {"datta", 1,
     [](const Words& w, std::size_t i) {
         return Is(w[i], "助動詞") && IsOneOf(w[i].surface, {"だっ", "でし"});
     },
     [](const LabelWord&) { return std::string("F2@1"); }},
    // 楽しそう, 降りそうだ: そう of how a thing looks takes the nucleus on its first mora
    // (タノシソ]ー), after a flat word as after an accented one.
    {"sou", 1,
     [](const Words& w, std::size_t i) {
         return Is(w[i], "名詞", "接尾") && w[i].pos2 == "助動詞語幹" && w[i].base == "そう";
     },
     [](const LabelWord&) { return std::string("C2"); }},
    // 営業時間, 退社前, ２時間: a noun that can be an adverb forms a compound with a noun of
    // action or a number before it (エーギョージ]カン), by its combination rule.
    {"action-time", 1,
     [](const Words& w, std::size_t i) {
         return Is(w[i], "名詞", "副詞可能") &&
                (Is(w[i - 1], "名詞", "サ変接続") || Is(w[i - 1], "名詞", "数"));
     },
     nullptr},
    // 容赦なく, 手際よく, 必要ない: an adjective right after a noun, with no particle between,
    // joins it; a flat noun takes the adjective's nucleus (テギワヨ]ク), an accented one keeps
    // its own (ヨ]ーシャナク).
    {"noun-adjective", 1,
     [](const Words& w, std::size_t i) {
         return Is(w[i], "形容詞", "自立") && Is(w[i - 1], "名詞") &&
                IsOneOf(w[i - 1].pos1, {"一般", "サ変接続", "形容動詞語幹"});
     },
     OwnNucleusIfFlat},
    // ようにと警告, そのまま地植え: a noun of its own after a dependent noun starts a phrase (the
    // classic rule joins nouns in a row).
    {"after-formal-noun", 0,
     [](const Words& w, std::size_t i) {
         return Is(w[i - 1], "名詞", "非自立") && Is(w[i], "名詞") &&
                IsOneOf(w[i].pos1, {"一般", "サ変接続", "固有名詞"});
     },
     nullptr},
    // うまいまずい, 太く短い, 描く塗る: an adjective after an adjective, a verb after a verb's
    // plain form, start a phrase of their own.
    {"predicate-pair", 0,
     [](const Words& w, std::size_t i) {
         const LabelWord& p = w[i - 1];
         return (Is(w[i], "形容詞", "自立") && Is(p, "形容詞")) ||
                (Is(w[i], "動詞", "自立") && Is(p, "動詞") && p.conjugationForm == "基本形");
     },
     nullptr},
    // 行こうと, 見せようとした, 敵であろうと: the volitional う and よう put the nucleus on the
    // mora before them, after a flat verb as after an accented one (イコ]ート, ミセ]ヨート).
    {"volitional", 1,
     [](const Words& w, std::size_t i) {
         const LabelWord& p = w[i - 1];
         return Is(w[i], "助動詞") && IsOneOf(w[i].base, {"う", "よう"}) &&
                p.conjugationForm == "未然ウ接続" &&
                (Is(p, "動詞") || (Is(p, "助動詞") && p.base == "ある"));
     },
     [](const LabelWord&) { return std::string("C3"); }},
    // 覚えます。: ます at the end of a sentence adds no nucleus (オボエマス, flat).
    {"final-masu", 1,
     [](const Words& w, std::size_t i) {
         return Is(w[i], "助動詞") && w[i].base == "ます" && w[i].conjugationForm == "基本形" &&
                LastSaid(w, i);
     },
     [](const LabelWord&) { return std::string(kNone); }},
    // 予定です。: です at the end of a sentence adds no nucleus (ヨテーデス, flat).
    {"final-desu", 1,
     [](const Words& w, std::size_t i) {
         return Is(w[i], "助動詞") && w[i].base == "です" && w[i].conjugationForm == "基本形" &&
                LastSaid(w, i);
     },
     [](const LabelWord&) { return std::string(kNone); }},
    // あります。, わかります。: a verb that starts its phrase and ends the sentence in ます is
    // said flat (アリマス, not ア]リマス).
    {"final-masu-flat", 1,
     [](const Words& w, std::size_t i) {
         return Is(w[i], "助動詞") && w[i].base == "ます" && w[i].conjugationForm == "基本形" &&
                LastSaid(w, i) && Is(w[i - 1], "動詞") && w[i - 1].chain != 1;
     },
     [](const LabelWord&) { return std::string("F5"); }},
};

} // namespace

void ApplyOwnPhraseRules(std::vector<LabelWord>& words, std::size_t i, const AccentRules& rules,
                         int& chain) {
    for (const OwnPhraseRule& rule : kRules) {
        if (!rules.Has(rule.name) || !rule.applies(words, i)) {
            continue;
        }
        chain = rule.chain;
        if (rule.combine != nullptr) {
            words[i].accentRule = rule.combine(words[i]);
        }
    }
}

} // namespace yomi6::labels
