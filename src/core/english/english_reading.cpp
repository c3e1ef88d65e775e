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

// The runs of vowel letters (y among them) of a lower-case word.
std::size_t VowelRuns(std::string_view word) {
    std::size_t runs = 0;
    bool inRun = false;
    for (const char c : word) {
        const bool vowel = std::string_view("aeiouy").find(c) != std::string_view::npos;
        runs += vowel && !inRun ? 1 : 0;
        inRun = vowel;
    }
    return runs;
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
    // A word said with more syllables than its letters could make is an abbreviation said in
    // full (etc, ms, mr): spelled, as it is written.
    const auto vowels = static_cast<std::size_t>(std::count_if(
        sounds->begin(), sounds->end(), [](const Sound& s) { return IsVowel(s.phone); }));
    if (vowels > VowelRuns(lower) + 1 || VowelRuns(lower) == 0) {
        return {};
    }
    for (const auto& [spelling, kana] : kWeakForms) {
        if (spelling == lower) {
            return std::string(kana);
        }
    }
    return KatakanaOf(lower, *sounds);
}

} // namespace yomi6::english
