#include "labels/word_accent_rules.h"

#include "labels/word_tests.h"

namespace yomi6::labels {

namespace {

// 高さ, 優しさ, 寂しさ: さ after an adjective's stem. The dictionary puts the nucleus on the
// stem's last mora (サビシ]サ); a stem of two morae has it on its first (タ]カサ, ナ]ガサ), and
// a flat adjective's stem stays flat (ヤサシサ).
void SetAdjectiveSaRules(std::vector<LabelWord>& words) {
    for (std::size_t i = 1; i < words.size(); ++i) {
        LabelWord& w = words[i];
        const LabelWord& stem = words[i - 1];
        if (Is(w, "名詞", "接尾") && w.surface == "さ" && w.pronunciation == "サ" &&
            Is(stem, "形容詞") && stem.conjugationForm == "ガル接続" && stem.accentKnown) {
            if (stem.accent == 0) {
                w.accentRule = "C4";
            } else if (stem.moraCount == 2) {
                w.accentRule = "C3B";
            }
        }
    }
}

// 誰も, 何も, 誰にも, どのくらい, どれくらい: も after 誰 or 何 (or their に) and くらい after どの
// or どれ make the phrase flat (ナニモ, ドノクライ), where the pronoun's nucleus stays (ナ]ニモ).
void SetInterrogativeFlatRules(std::vector<LabelWord>& words) {
    for (std::size_t i = 1; i < words.size(); ++i) {
        LabelWord& w = words[i];
        const std::size_t k =
            i >= 2 && words[i - 1].surface == "に" && Is(words[i - 1], "助詞") ? i - 2 : i - 1;
        const LabelWord& before = words[k];
        const bool mo = Is(w, "助詞", "係助詞") && w.surface == "も" &&
                        Is(before, "名詞", "代名詞") &&
                        IsOneOf(before.surface, {"誰", "だれ", "何", "なに"}) &&
                        IsOneOf(before.pronunciation, {"ダレ", "ナニ"});
        const bool kurai = Is(w, "助詞", "副助詞") && IsOneOf(w.surface, {"くらい", "ぐらい"}) &&
                           k == i - 1 && IsOneOf(before.surface, {"どの", "どれ"});
        if ((mo || kurai) && w.chain == 1) {
            w.accentRule = "F5";
        }
    }
}

// 私たち: たち after a flat pronoun of three morae or more puts the nucleus on the pronoun's
// mora before its last (ワタ]シタチ), where after a flat noun it is on the noun's last
// (ショーネ]ンタチ, tachi).
void SetPronounTachiRules(std::vector<LabelWord>& words) {
    for (std::size_t i = 1; i < words.size(); ++i) {
        LabelWord& w = words[i];
        const LabelWord& p = words[i - 1];
        if (w.chain == 1 && Is(w, "名詞", "接尾") && IsOneOf(w.base, {"たち", "達"}) &&
            Is(p, "名詞", "代名詞") && p.accent == 0 && p.moraCount >= 3) {
            w.accentRule = "C3B";
        }
    }
}

// 練り方, 喋り方: 方 after a verb's 連用形 takes the nucleus on its カ (ネリカ]タ), where the
// dictionary's rule puts it on the verb's last mora.
void SetVerbKataRules(std::vector<LabelWord>& words) {
    for (std::size_t i = 1; i < words.size(); ++i) {
        LabelWord& w = words[i];
        const LabelWord& verb = words[i - 1];
        if (w.chain == 1 && Is(w, "名詞", "接尾") && w.surface == "方" &&
            w.pronunciation == "カタ" && Is(verb, "動詞") && verb.conjugationForm == "連用形") {
            w.accentRule = "C2";
        }
    }
}

// あれば: the 仮定形 of ある has its nucleus on ア (ア]レバ), as ある, あり and あった have it,
// where the dictionary has it flat (アレ]バ by ば's rule).
void AccentAreOfAru(std::vector<LabelWord>& words) {
    for (LabelWord& w : words) {
        if (Is(w, "動詞", "自立") && IsOneOf(w.base, {"ある", "有る", "在る"}) &&
            w.conjugationForm == "仮定形" && w.pronunciation == "アレ" && w.accent == 0) {
            w.accent = 1;
        }
    }
}

// 掛かるらしい, 残留するらしく: らしい takes the phrase's nucleus on its シ whatever the phrase
// before (カカルラシ]イ, not カカ]ルラシイ), its く and かっ forms on its ラ (ラ]シク), as an
// adjective's forms have it a mora earlier.
void SetRashiiRules(std::vector<LabelWord>& words) {
    for (std::size_t i = 1; i < words.size(); ++i) {
        LabelWord& w = words[i];
        if (w.chain != 1 || !Is(w, "助動詞") || w.base != "らしい" ||
            w.pronunciation.rfind("ラシ", 0) != 0) {
            continue;
        }
        if (w.conjugationForm == "基本形") {
            w.accentRule = "F4@2";
        } else if (w.conjugationForm == "連用テ接続" || w.conjugationForm == "連用タ接続") {
            w.accentRule = "F4@1";
        }
    }
}

// お酒, ご注文, ご意見: a noun after the prefix お or ご makes one flat word with it, unless the
// noun has its nucleus on its first mora, which it keeps (ゴイ]ケン). The dictionary's rules put
// a nucleus on the prefix or the noun's first mora (オ]サケ, ゴチュ]ーモン).
void SetHonorificPrefixRules(std::vector<LabelWord>& words) {
    for (std::size_t i = 1; i < words.size(); ++i) {
        LabelWord& w = words[i];
        if (w.chain == 1 && Is(w, "名詞") && IsHonorificPrefix(words[i - 1])) {
            w.accentRule = "C1F";
        }
    }
}

} // namespace

// Each rule of this file and its pass, in the order they run.
struct WordPass {
    std::string_view rule;
    void (*pass)(std::vector<LabelWord>&);
};
constexpr WordPass kWordPasses[] = {
    {"adjective-sa", SetAdjectiveSaRules},
    {"interrogative-flat", SetInterrogativeFlatRules},
    {"rashii", SetRashiiRules},
    {"are-ba", AccentAreOfAru},
    {"verb-kata", SetVerbKataRules},
    {"pronoun-tachi", SetPronounTachiRules},
    {"prefix-flat", SetHonorificPrefixRules},
};

void SetWordAccentRules(std::vector<LabelWord>& words, const AccentRules& rules) {
    for (const WordPass& p : kWordPasses) {
        if (rules.Has(p.rule)) {
            p.pass(words);
        }
    }
}

// 第二次, 第一に, 第三部: a phrase of 第 and a number has its nucleus on 第 (ダ]イニジ), whatever
// the number and its counter would give.
void AccentOrdinalPrefixes(std::vector<LabelWord>& words) {
    for (std::size_t i = 0; i + 1 < words.size(); ++i) {
        if (Is(words[i], "接頭詞", "数接続") && words[i].surface == "第" &&
            words[i].pronunciation == "ダイ" && (i == 0 || words[i].chain != 1) &&
            words[i + 1].chain == 1 && Is(words[i + 1], "名詞", "数")) {
            words[i].accent = 1;
        }
    }
}

} // namespace yomi6::labels
