#include "english/english_reading.h"

#include "english/english_kana.h"

#include <algorithm>
#include <array>
#include <utility>

namespace yomi6::english {

namespace {

// The weak forms loanwords and read-aloud English use for the commonest function words, which
// the dictionary gives in a form of their own (the as dh ax, to as t uw).
constexpr std::array<std::pair<std::string_view, std::string_view>, 10> kWeakForms = {{
    {"the", "ザ"},
    {"a", "ア"},
    {"an", "アン"},
    {"and", "アンド"},
    {"is", "イズ"},
    {"of", "オブ"},
    {"to", "トゥー"},
    {"for", "フォー"},
    {"are", "アー"},
    {"was", "ワズ"},
}};

bool IsCapital(char c) {
    return c >= 'A' && c <= 'Z';
}

} // namespace

std::string EnglishKatakana(std::string_view word, EnglishLexicon& lexicon) {
    if (word.empty() || !std::all_of(word.begin(), word.end(), [](char c) {
            return IsCapital(c) || (c >= 'a' && c <= 'z');
        })) {
        return {};
    }
    if (word.size() <= kMaxAcronymLetters && std::all_of(word.begin(), word.end(), IsCapital)) {
        return {};
    }
    std::string lower(word);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return IsCapital(c) ? static_cast<char>(c - 'A' + 'a') : c; });
    const std::optional<std::vector<Sound>> sounds = lexicon.Lookup(lower);
    if (!sounds) {
        return {}; // without the dictionary every word is spelled, the function words too
    }
    for (const auto& [spelling, kana] : kWeakForms) {
        if (spelling == lower) {
            return std::string(kana);
        }
    }
    return KatakanaOf(lower, *sounds);
}

} // namespace yomi6::english
