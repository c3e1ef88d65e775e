#include "analysis/spoken_forms.h"

#include "text/char_classes.h"

namespace yomi6 {

namespace {

// A word whose surface ends with `surface` and whose pronunciation ends with `heard` is read
// with `said` in place of that ending.
struct SpokenForm {
    std::string_view surface;
    std::string_view heard;
    std::string_view said;
};

constexpr SpokenForm kSpokenForms[] = {
    // 言う where it ends the word (という, こういう, 言う, 云う) is said ゆう, as every speaker
    // says it; a dictionary may write it ユウ (IPADIC: トユウ), ユー (UniDic, Open JTalk) or as
    // spelled, イウ. Written ユー, as the natural voice's labels write a long vowel.
    {"いう", "ユウ", "ユー"},
    {"いう", "イウ", "ユー"},
    {"言う", "ユウ", "ユー"},
    {"言う", "イウ", "ユー"},
    {"云う", "ユウ", "ユー"},
    {"云う", "イウ", "ユー"},
    // The set phrase 言うまでもない, one word of the Open JTalk dictionary, as speakers say it.
    {"うまでもない", "イウマデモナイ", "ユーマデモナイ"},
    {"うまでもなく", "イウマデモナク", "ユーマデモナク"},
    // Its other forms keep the sound of their spelling: 言っ いっ, 言い いい (the Open JTalk
    // dictionary's 云いながら ユイ).
    {"言っ", "ユッ", "イッ"},
    {"云っ", "ユッ", "イッ"},
    {"言い", "ユイ", "イイ"},
    {"云い", "ユイ", "イイ"},
    {"私", "ワタクシ", "ワタシ"},
};

bool EndsWith(std::string_view s, std::string_view end) {
    return s.size() >= end.size() && s.substr(s.size() - end.size()) == end;
}

} // namespace

void ApplySpokenForms(std::string_view surface, std::string& pronunciation) {
    // A word written in katakana with ヴ is said as written (デンヴァー), where a dictionary
    // writes its pronunciation with バ ビ ブ ベ ボ (the Open JTalk dictionary's デンバー).
    if (!pronunciation.empty() && surface.find("ヴ") != std::string_view::npos &&
        IsKatakanaWord(surface)) {
        pronunciation = surface;
        return;
    }
    for (const SpokenForm& form : kSpokenForms) {
        if (EndsWith(surface, form.surface) && EndsWith(pronunciation, form.heard)) {
            pronunciation.replace(pronunciation.size() - form.heard.size(), form.heard.size(),
                                  form.said);
            return;
        }
    }
}

} // namespace yomi6
