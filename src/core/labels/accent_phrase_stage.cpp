#include "labels/accent_phrase_stage.h"

#include "labels/own_phrase_rules.h"
#include "labels/word_tests.h"

namespace yomi6::labels {

namespace {

using Words = std::vector<LabelWord>;

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
        ApplyOwnPhraseRules(words, i, rules, chain);
        words[i].chain = chain;
    }
}

} // namespace yomi6::labels
