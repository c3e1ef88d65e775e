#include "labels/suffix_accents.h"

#include "labels/word_tests.h"

#include <string_view>

namespace yomi6::labels {

namespace {

struct SuffixRule {
    std::string_view surface;
    std::string_view pronunciation; // the suffix as said: 家 カ, not 家 ケ
    std::string_view rule;          // C3: the noun's last mora; C4: flat
};

constexpr SuffixRule kSuffixRules[] = {
    // The nucleus on the mora before the suffix (ン, ー move it one more back).
    {"者", "シャ", "C3"},
    {"力", "リョク", "C3"},
    {"物", "ブツ", "C3"},
    {"器", "キ", "C3"},
    {"車", "シャ", "C3"},
    {"間", "カン", "C3"},
    // The compound is flat.
    {"家", "カ", "C4"},
    {"語", "ゴ", "C4"},
    {"用", "ヨー", "C4"},
    {"後", "ゴ", "C4"},
    {"品", "ヒン", "C4"},
    {"式", "シキ", "C4"},
    {"戦", "セン", "C4"},
    {"法", "ホー", "C4"},
    {"系", "ケー", "C4"},
    {"体", "タイ", "C4"},
    {"形", "ガタ", "C4"},
    {"人", "ニン", "C4"},
    {"金", "キン", "C4"},
    {"級", "キュー", "C4"},
};

// Counters that make a number and themselves one flat word (三回 サンカイ, 千円 センエン), where
// the dictionary puts the nucleus on the number's last mora (サ]ンカイ).
struct FlatCounter {
    std::string_view surface;
    std::string_view pronunciation;
};

constexpr FlatCounter kFlatCounters[] = {
    {"円", "エン"},
    {"回", "カイ"},
    {"面", "メン"},
};

} // namespace

void SetFlatCounterRules(std::vector<LabelWord>& words) {
    for (std::size_t i = 1; i < words.size(); ++i) {
        LabelWord& w = words[i];
        if (!Is(w, "名詞", "接尾") || !Is(words[i - 1], "名詞", "数")) {
            continue;
        }
        for (const FlatCounter& c : kFlatCounters) {
            if (w.surface == c.surface && w.pronunciation == c.pronunciation) {
                w.accentRule = "C4";
                break;
            }
        }
    }
}

void SetSuffixRules(std::vector<LabelWord>& words) {
    for (std::size_t i = 1; i < words.size(); ++i) {
        LabelWord& w = words[i];
        if (!Is(w, "名詞", "接尾") || !Is(words[i - 1], "名詞")) {
            continue;
        }
        for (const SuffixRule& s : kSuffixRules) {
            if (w.surface == s.surface && w.pronunciation == s.pronunciation) {
                w.accentRule = std::string(s.rule);
                break;
            }
        }
    }
}

} // namespace yomi6::labels
