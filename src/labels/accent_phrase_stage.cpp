#include "labels/accent_phrase_stage.h"

#include <initializer_list>
#include <string>

namespace yomi6::labels {

namespace {

using Words = std::vector<LabelWord>;

bool Is(const LabelWord& w, std::string_view pos) {
    return w.pos == pos;
}
bool Is(const LabelWord& w, std::string_view pos, std::string_view pos1) {
    return w.pos == pos && w.pos1 == pos1;
}
bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}
bool IsParticleOrAuxiliary(const LabelWord& w) {
    return Is(w, "助詞") || Is(w, "助動詞");
}

// A rule sets the chain of the word at i (words[i - 1] is the word before) where it applies.
struct PhraseRule {
    int chain;
    bool (*applies)(const Words& w, std::size_t i);
};

// The classic rules, in order; a later one that applies overrules an earlier.
constexpr PhraseRule kBaseRules[] = {
    // Nouns in a row are one phrase.
    {1, [](const Words& w, std::size_t i) { return Is(w[i - 1], "名詞") && Is(w[i], "名詞"); }},
    // A noun after an adjective starts a phrase.
    {0, [](const Words& w, std::size_t i) { return Is(w[i - 1], "形容詞") && Is(w[i], "名詞"); }},
    // A noun after the stem of an adjectival noun starts a phrase.
    {0, [](const Words& w,
           std::size_t i) { return Is(w[i - 1], "名詞", "形容動詞語幹") && Is(w[i], "名詞"); }},
    // An adjective or a noun after a verb starts a phrase.
    {0,
     [](const Words& w, std::size_t i) {
         return Is(w[i - 1], "動詞") && (Is(w[i], "形容詞") || Is(w[i], "名詞"));
     }},
    // An adverb, a conjunction or an adnominal stands alone.
    {0,
     [](const Words& w, std::size_t i) {
         for (const LabelWord* x : {&w[i], &w[i - 1]}) {
             if (Is(*x, "副詞") || Is(*x, "接続詞") || Is(*x, "連体詞")) {
                 return true;
             }
         }
         return false;
     }},
    // A noun that can be an adverb (すべて, など) stands alone.
    {0,
     [](const Words& w, std::size_t i) {
         return Is(w[i - 1], "名詞", "副詞可能") || Is(w[i], "名詞", "副詞可能");
     }},
    // A particle or an auxiliary joins the word before.
    {1, [](const Words& w, std::size_t i) { return IsParticleOrAuxiliary(w[i]); }},
    // A word of its own after a particle or an auxiliary starts a phrase.
    {0,
     [](const Words& w, std::size_t i) {
         return IsParticleOrAuxiliary(w[i - 1]) && !IsParticleOrAuxiliary(w[i]);
     }},
    // A noun after a suffix starts a phrase.
    {0, [](const Words& w, std::size_t i) { return w[i - 1].pos1 == "接尾" && Is(w[i], "名詞"); }},
    // A dependent adjective joins a verb or an adjective in the continuative form, or て, で.
    {1,
     [](const Words& w, std::size_t i) {
         if (!Is(w[i], "形容詞", "非自立")) {
             return false;
         }
         const LabelWord& p = w[i - 1];
         return ((Is(p, "動詞") || Is(p, "形容詞")) && StartsWith(p.conjugationForm, "連用")) ||
                (Is(p, "助詞", "接続助詞") && (p.surface == "て" || p.surface == "で"));
     }},
    // A dependent verb joins a verb in the continuative form or a noun of action.
    {1,
     [](const Words& w, std::size_t i) {
         if (!Is(w[i], "動詞", "非自立")) {
             return false;
         }
         const LabelWord& p = w[i - 1];
         return (Is(p, "動詞") && StartsWith(p.conjugationForm, "連用")) ||
                Is(p, "名詞", "サ変接続");
     }},
    // A verb, an adjective or an adjectival noun after a noun starts a phrase.
    {0,
     [](const Words& w, std::size_t i) {
         return Is(w[i - 1], "名詞") &&
                (Is(w[i], "動詞") || Is(w[i], "形容詞") || w[i].pos1 == "形容動詞語幹");
     }},
    // A sign stands alone.
    {0, [](const Words& w, std::size_t i) { return Is(w[i], "記号") || Is(w[i - 1], "記号"); }},
    // A prefix starts a phrase.
    {0, [](const Words& w, std::size_t i) { return Is(w[i], "接頭詞"); }},
    // A noun after a family name starts a phrase; so does a given name after a noun.
    {0, [](const Words& w, std::size_t i) { return w[i - 1].pos3 == "姓" && Is(w[i], "名詞"); }},
    {0, [](const Words& w, std::size_t i) { return Is(w[i - 1], "名詞") && w[i].pos3 == "名"; }},
    // A suffix joins the word before.
    {1, [](const Words& w, std::size_t i) { return w[i].pos1 == "接尾"; }},
};

bool IsOneOf(std::string_view text, std::initializer_list<std::string_view> list) {
    for (std::string_view item : list) {
        if (text == item) {
            return true;
        }
    }
    return false;
}

bool AfterTe(const Words& w, std::size_t i) {
    const LabelWord& p = w[i - 1];
    return Is(p, "助詞", "接続助詞") && (p.surface == "て" || p.surface == "で");
}

// An own rule joins the word at i to the phrase before and says how the word's accent then
// combines with it, in place of its entry's rule (a rule the entry gives for the places where
// the classic rules join it, which are not these).
struct OwnPhraseRule {
    std::string_view name;
    bool (*applies)(const Words& w, std::size_t i);
    std::string (*combine)(const LabelWord& w);
};

// The verbs that follow a て form as its auxiliary (いる in 読んでいる, しまう, おく ...). 下さる
// is not one of them: ください after a て form is a phrase of its own.
bool IsTeAuxiliary(const LabelWord& w) {
    return Is(w, "動詞", "非自立") &&
           IsOneOf(w.base, {"いる",     "居る",   "しまう", "仕舞う", "おく",   "置く",   "くる",
                            "来る",     "いく",   "行く",   "ゆく",   "みる",   "見る",   "ある",
                            "有る",     "あげる", "上げる", "くれる", "呉れる", "もらう", "貰う",
                            "いただく", "頂く",   "やる",   "みせる", "見せる"});
}

constexpr OwnPhraseRule kOwnRules[] = {
    // 勉強する, 調査できる: the noun's accent stays (する), or the flat noun takes できる's.
    {"suru",
     [](const Words& w, std::size_t i) {
         return Is(w[i - 1], "名詞", "サ変接続") && Is(w[i], "動詞", "自立") &&
                IsOneOf(w[i].base, {"する", "できる", "出来る"});
     },
     [](const LabelWord& w) {
         return w.base == "する" || w.accent == 0 ? std::string("F1")
                                                  : "F2@" + std::to_string(w.accent);
     }},
    // の and ん after a verb, an adjective or an auxiliary (するのに, いないので) join its phrase
    // by their entry's rule (the other formal nouns: accent_type_stage.cpp).
    {"formal-noun",
     [](const Words& w, std::size_t i) {
         const LabelWord& p = w[i - 1];
         return Is(w[i], "名詞", "非自立") && IsOneOf(w[i].base, {"の", "ん"}) &&
                (Is(p, "動詞") || Is(p, "形容詞") || Is(p, "助動詞"));
     },
     [](const LabelWord& w) { return w.accentRule; }},
    // 読んでいる, 忘れてしまう: the verb's accent stays.
    {"te-auxiliary",
     [](const Words& w, std::size_t i) { return AfterTe(w, i) && IsTeAuxiliary(w[i]); },
     [](const LabelWord&) { return std::string("F1"); }},
};

} // namespace

void SetAccentPhrases(std::vector<LabelWord>& words, const AccentRules& rules) {
    for (std::size_t i = 1; i < words.size(); ++i) {
        if (words[i].chain >= 0) {
            continue; // the dictionary's entry decided
        }
        int chain = 1;
        for (const PhraseRule& rule : kBaseRules) {
            if (rule.applies(words, i)) {
                chain = rule.chain;
            }
        }
        for (const OwnPhraseRule& own : kOwnRules) {
            if (rules.Has(own.name) && own.applies(words, i)) {
                chain = 1;
                words[i].accentRule = own.combine(words[i]);
            }
        }
        words[i].chain = chain;
    }
}

} // namespace yomi6::labels
