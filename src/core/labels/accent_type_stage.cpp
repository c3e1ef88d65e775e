#include "labels/accent_type_stage.h"

#include "labels/nucleus_shift.h"
#include "labels/suffix_accents.h"
#include "labels/word_accent_rules.h"
#include "labels/word_tests.h"

#include <charconv>

namespace yomi6::labels {

namespace {

// One token of a rule and the delimiter that ends it ('%', '@', '/' or 0 at the end).
struct Token {
    std::string_view text;
    char end;
};

Token NextToken(std::string_view rule, std::size_t& at) {
    const std::size_t start = at;
    while (at < rule.size() && rule[at] != '%' && rule[at] != '@' && rule[at] != '/') {
        ++at;
    }
    const Token t{rule.substr(start, at - start), at < rule.size() ? rule[at] : '\0'};
    if (at < rule.size()) {
        ++at;
    }
    return t;
}

int ToInt(std::string_view text) {
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

struct Change {
    int top;   // the phrase's accent so far
    int morae; // morae of the phrase before this word
    int own;   // this word's accent
    int offset;
};

// What each rule makes of the phrase's accent; std::nullopt-like: the top kept (returns top).
struct RuleRow {
    std::string_view name;
    int (*apply)(const Change& c);
};

constexpr RuleRow kRules[] = {
    {"F1", [](const Change& c) { return c.top; }},
    {"F2", [](const Change& c) { return c.top == 0 ? c.morae + c.offset : c.top; }},
    {"F3", [](const Change& c) { return c.top != 0 ? c.morae + c.offset : c.top; }},
    {"F4", [](const Change& c) { return c.morae + c.offset; }},
    {"F5", [](const Change&) { return 0; }},
    {"C1", [](const Change& c) { return c.morae + c.own; }},
    {"C2", [](const Change& c) { return c.morae + 1; }},
    {"C3", [](const Change& c) { return c.morae; }},
    {"C4", [](const Change&) { return 0; }},
    {"C5", [](const Change& c) { return c.top; }},
    {"P1", [](const Change& c) { return c.own == 0 ? 0 : c.morae + c.own; }},
    {"P2", [](const Change& c) { return c.own == 0 ? c.morae + 1 : c.morae + c.own; }},
    {"P6", [](const Change&) { return 0; }},
    {"P14", [](const Change& c) { return c.own != 0 ? c.morae + c.own : c.top; }},
    // This program's own: F2 for a flat phrase, the mora before the word for an accented one.
    {"F23", [](const Change& c) { return c.top == 0 ? c.morae + c.offset : c.morae; }},
    // C5 for an accented phrase, C3 for a flat one.
    {"C53", [](const Change& c) { return c.top != 0 ? c.top : c.morae; }},
    // F1, but flat where the nucleus is on the mora right before the word (ハナ]+ノ: ハナノ).
    {"F15", [](const Change& c) { return c.top == c.morae && c.morae > 1 ? 0 : c.top; }},
    // C3 a mora earlier: the mora before the last of the phrase so far (高さ タ]カサ).
    {"C3B", [](const Change& c) { return c.morae > 1 ? c.morae - 1 : c.morae; }},
    // C1 for a word with its nucleus on its first mora, else flat (お酒 オサケ, ご意見 ゴイ]ケン).
    {"C1F", [](const Change& c) { return c.own == 1 ? c.morae + 1 : 0; }},
};

// ご利用いただけます, お貸しします, ご確認ください: いただく, いたす, する and くださる after a
// flat お or ご noun join its phrase (ゴリヨーイタダケマス); after an accented one they start
// their own (ゴリ]カイ ネガイマス).
bool IsHonorificVerbAfterPrefixedNoun(const std::vector<LabelWord>& w, std::size_t i) {
    return i >= 2 && Is(w[i], "動詞") &&
           IsOneOf(w[i].base,
                   {"いただく", "頂く", "いたす", "致す", "する", "くださる", "下さる"}) &&
           Is(w[i - 1], "名詞") && w[i - 1].chain == 1 && IsHonorificPrefix(w[i - 2]);
}

// A formal noun (もの, わけ, ところ ...; こと and の join always, own_phrase_rules.cpp) after a
// verb, an adjective or an auxiliary: it joins their phrase when that phrase is flat (使うもの,
// one phrase with the noun's nucleus: ツカウモノ]) and starts its own after an accented one.
bool JoinsFlatPhrase(const std::vector<LabelWord>& w, std::size_t i) {
    const LabelWord& p = w[i - 1];
    return Is(w[i], "名詞", "非自立") && w[i].pos2 != "助動詞語幹" && IsPredicate(p);
}

// 魚の一つである: ある (あり, あった ...) after で starts a phrase of its own after an accented
// phrase (ヒト]ツデ ア]ル); after a flat one it joins (own rule dearu, ミテーデア]ル).
bool IsAruAfterDe(const std::vector<LabelWord>& w, std::size_t i) {
    const LabelWord& p = w[i - 1];
    return (Is(w[i], "動詞", "自立") || Is(w[i], "助動詞")) && w[i].base == "ある" &&
           p.surface == "で" && (Is(p, "助詞") || Is(p, "助動詞"));
}

// 調べて, 通した: the 連用形 of an accented 一段 verb (and of a 五段 verb in す) has its nucleus
// on its last mora (シラベ]), its て and た forms a mora earlier (シラ]ベテ, トオ]シタ).
void MoveNucleusOfTeForms(std::vector<LabelWord>& words) {
    for (std::size_t i = 0; i + 1 < words.size(); ++i) {
        LabelWord& w = words[i];
        const LabelWord& next = words[i + 1];
        if (Is(w, "動詞") &&
            (w.conjugationType.rfind("一段", 0) == 0 || w.conjugationType == "五段・サ行") &&
            w.conjugationForm == "連用形" && w.accentKnown && w.moraCount >= 2 &&
            w.accent == w.moraCount &&
            (IsTe(next) || (Is(next, "助動詞") && next.base == "た") ||
             (Is(next, "助詞", "並立助詞") && next.surface == "たり"))) {
            --w.accent;
        }
    }
}

// 求め、, 行き: an accented verb's 連用形 that starts its phrase and ends it, with the nucleus on
// its last mora (the dictionary's モトメ] of 求める), has it a mora earlier (モト]メ), as its て
// form has.
void MoveNucleusOfPhraseFinalRenyou(std::vector<LabelWord>& words) {
    for (std::size_t i = 0; i < words.size(); ++i) {
        LabelWord& w = words[i];
        const bool startsPhrase = i == 0 || w.chain != 1;
        const bool endsPhrase = i + 1 == words.size() || words[i + 1].chain != 1;
        if (Is(w, "動詞") && w.conjugationForm == "連用形" && w.accentKnown && w.moraCount >= 2 &&
            w.accent == w.moraCount && startsPhrase && endsPhrase) {
            --w.accent;
        }
    }
}

// ください after a flat て form joins its phrase, with its own nucleus (テーシュツシテクダサ]イ);
// after an accented one it starts a phrase of its own (honorific and te-auxiliary leave it).
bool IsKudasaiAfterFlatTe(const std::vector<LabelWord>& w, std::size_t i) {
    return Is(w[i], "動詞", "非自立") && IsOneOf(w[i].surface, {"ください", "下さい"}) &&
           IsTe(w[i - 1]);
}

// 分かるように, 打つような: よう after a verb's plain form or ない joins an accented phrase,
// whose nucleus stays (ワカ]ルヨーニ); after a flat one it starts its own (ヨ]ーニ).
bool IsYouAfterPlainForm(const std::vector<LabelWord>& w, std::size_t i) {
    const LabelWord& p = w[i - 1];
    return Is(w[i], "名詞", "非自立") && IsOneOf(w[i].base, {"よう", "様"}) &&
           ((Is(p, "動詞") && p.conjugationForm == "基本形") ||
            (Is(p, "助動詞") && p.base == "ない"));
}

// 帰っていない: いる before ない after an accented て form starts a flat phrase of its own
// (カ]エッテ イナイ); after a flat one it joins (te-auxiliary).
bool IsIruNegativeAfterTe(const std::vector<LabelWord>& w, std::size_t i) {
    return Is(w[i], "動詞", "非自立") && IsOneOf(w[i].base, {"いる", "居る"}) &&
           w[i].conjugationForm == "未然形" && IsTe(w[i - 1]);
}

// 有名になる, 静かにする: なる and する after the に of an adjectival noun's flat stem join its
// phrase, なる with its own nucleus (ユーメーニナ]ル).
bool IsNaruAfterFlatStemNi(const std::vector<LabelWord>& w, std::size_t i) {
    return i >= 2 && Is(w[i], "動詞", "自立") && IsOneOf(w[i].base, {"なる", "成る", "する"}) &&
           w[i - 1].surface == "に" && Is(w[i - 1], "助詞") &&
           Is(w[i - 2], "名詞", "形容動詞語幹") && w[i - 2].chain != 1;
}

// 森の中で, 部屋の中を: 中 after の joins a flat phrase and takes the nucleus on its ナ
// (モリノナ]カデ); after an accented one it starts its own (キ]ノ ナ]カ, as the speaker does
// about as often as not).
bool IsNakaAfterNo(const std::vector<LabelWord>& w, std::size_t i) {
    return Is(w[i], "名詞", "非自立") && w[i].base == "中" && w[i].accent == 1 &&
           Is(w[i - 1], "助詞", "連体化");
}

// 高く, 美しければ: the く form and the ば form of an accented adjective have its nucleus a
// mora earlier than the plain form (タ]カク, ウツク]シケレバ; タカ]イ). The past needs no change:
// た's rule puts it two morae before itself (タ]カカッタ). With keepLong, the く form of five
// morae or more keeps the plain form's nucleus (ウツクシ]ク, イソガシ]クテ), as it is said now.
void MoveNucleusOfAdjectiveForms(std::vector<LabelWord>& words, bool keepLong) {
    for (LabelWord& w : words) {
        const bool longKu = keepLong && w.conjugationForm == "連用テ接続" && w.moraCount >= 5;
        if (Is(w, "形容詞", "自立") && w.accentKnown && w.accent >= 2 && !longKu &&
            (w.conjugationForm == "連用テ接続" || w.conjugationForm == "仮定形")) {
            --w.accent;
        }
    }
}

// 読んだところだ, 君のところに: the formal noun ところ has its nucleus on its last mora
// (トコロ]ダ), where the dictionary has it flat.
void AccentFormalTokoro(std::vector<LabelWord>& words) {
    for (LabelWord& w : words) {
        if (Is(w, "名詞", "非自立") && IsOneOf(w.base, {"ところ", "所"}) && w.moraCount == 3) {
            w.accent = w.moraCount;
        }
    }
}

// A word that joins the phrase before it or not by that phrase's accent so far: the rule's
// name, whether the phrase must be flat (else accented), the test, and the combination rule
// the word takes once it joins.
struct AccentJoin {
    std::string_view name;
    bool flat;
    bool (*applies)(const std::vector<LabelWord>& w, std::size_t i);
    std::string_view accentRule;
};

constexpr AccentJoin kAccentJoins[] = {
    {"te-kudasai", true, IsKudasaiAfterFlatTe, "P1"},
    {"you-ni", false, IsYouAfterPlainForm, "F1"},
    {"no-naka", true, IsNakaAfterNo, "F2@1"},
    {"stem-ni-naru", true, IsNaruAfterFlatStemNi, "P1"},
    {"prefix-verb", true, IsHonorificVerbAfterPrefixedNoun, "P1"},
};

void JoinByPhraseAccent(std::vector<LabelWord>& words, std::size_t i, int phraseAccent,
                        const AccentRules& rules) {
    for (const AccentJoin& join : kAccentJoins) {
        if (rules.Has(join.name) && join.flat == (phraseAccent == 0) && join.applies(words, i)) {
            words[i].chain = 1;
            words[i].accentRule = std::string(join.accentRule);
            return;
        }
    }
}

} // namespace

std::string RuleFor(std::string_view accentRule, std::string_view previousPos, int& offset) {
    offset = 0;
    std::size_t at = 0;
    while (at < accentRule.size()) {
        Token t = NextToken(accentRule, at);
        const bool conditionHolds =
            t.end == '%' && !t.text.empty() && previousPos.find(t.text) != std::string_view::npos;
        if (conditionHolds || t.end == '@' || t.end == '/' || t.end == '\0') {
            Token rule = t;
            if (t.end == '%') {
                rule = NextToken(accentRule, at);
            }
            if (rule.end == '@') {
                offset = ToInt(NextToken(accentRule, at).text);
            }
            return std::string(rule.text);
        }
        // This alternative's condition fails: skip its rule and offset.
        while (t.end == '%' || t.end == '@') {
            t = NextToken(accentRule, at);
        }
    }
    return std::string(kNone);
}

void SetAccentTypes(std::vector<LabelWord>& words, const AccentRules& rules) {
    if (rules.Has("ichidan-te")) {
        MoveNucleusOfTeForms(words);
    }
    if (rules.Has("tokoro")) {
        AccentFormalTokoro(words);
    }
    if (rules.Has("adjective-ku")) {
        MoveNucleusOfAdjectiveForms(words, rules.Has("adjective-ku-long"));
    }
    if (rules.Has("suffix-accent")) {
        SetSuffixRules(words);
    }
    if (rules.Has("counter-flat")) {
        SetFlatCounterRules(words);
    }
    if (rules.Has("renyou-end")) {
        MoveNucleusOfPhraseFinalRenyou(words);
    }
    SetWordAccentRules(words, rules);
    std::size_t top = 0;
    int morae = 0;
    for (std::size_t i = 0; i < words.size(); ++i) {
        LabelWord& w = words[i];
        if (i > 0 && w.chain != 1 && rules.Has("formal-noun") && words[top].accent == 0 &&
            JoinsFlatPhrase(words, i)) {
            w.chain = 1;
            w.accentRule = "P1"; // the noun's nucleus, or flat where it has none
        }
        if (i > 0 && w.chain != 1) {
            JoinByPhraseAccent(words, i, words[top].accent, rules);
        }
        if (i > 0 && w.chain == 1 && rules.Has("te-inai") && words[top].accent != 0 &&
            IsIruNegativeAfterTe(words, i)) {
            w.chain = 0;
        }
        if (i > 0 && w.chain == 1 && rules.Has("dearu-split") && words[top].accent != 0 &&
            IsAruAfterDe(words, i)) {
            w.chain = 0;
        }
        // であり, であれば: あり and あれ in a phrase of their own have the nucleus on ア (ア]リ,
        // like ア]ル), where the dictionary puts it on their last mora.
        if (i > 0 && w.chain != 1 && rules.Has("aru-nucleus") && IsAruAfterDe(words, i) &&
            IsOneOf(w.surface, {"あり", "あれ"})) {
            w.accent = 1;
        }
        if (i == 0 || w.chain != 1) {
            top = i;
            morae = 0;
        } else {
            int offset = 0;
            // A particle after a て form combines as after the verb (行っても: イッテ]モ).
            const bool afterTe = rules.Has("te-particle") && Is(w, "助詞") && IsTe(words[i - 1]);
            const std::string rule =
                RuleFor(w.accentRule, afterTe ? "動詞" : words[i - 1].pos, offset);
            for (const RuleRow& row : kRules) {
                if (row.name == rule) {
                    words[top].accent = row.apply({words[top].accent, morae, w.accent, offset});
                    break;
                }
            }
        }
        morae += w.moraCount;
    }
    if (rules.Has("dai-number")) {
        AccentOrdinalPrefixes(words);
    }
    if (rules.Has("special-mora")) {
        MoveNucleusOffSpecialMorae(words);
    }
    if (rules.Has("nai-nucleus")) {
        MoveNucleusOffNaiEnd(words);
    }
}

} // namespace yomi6::labels
