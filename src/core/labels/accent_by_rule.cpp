#include "labels/accent_by_rule.h"

#include "labels/mora_table.h"

#include <string>

namespace yomi6::labels {

namespace {

// The morae of kana text, each marked whether it can carry the nucleus.
std::vector<bool> CarriersOf(std::string_view pronunciation) {
    std::vector<bool> out;
    for (std::size_t i = 0; i < pronunciation.size();) {
        std::size_t n = 0;
        if (const Mora* m = MoraAt(pronunciation.substr(i), n)) {
            out.push_back(m->vowel != "N" && m->vowel != "cl");
            i += n;
        } else if (pronunciation.substr(i, kLongVowel.size()) == kLongVowel) {
            out.push_back(false);
            i += kLongVowel.size();
        } else if (pronunciation.substr(i, kDevoicedMark.size()) == kDevoicedMark) {
            if (!out.empty()) {
                out.back() = false;
            }
            i += kDevoicedMark.size();
        } else {
            ++i;
        }
    }
    return out;
}

} // namespace

int AccentByRule(std::string_view pronunciation, std::string_view pos) {
    if (pos != "名詞" && pos != std::string_view(kNone)) {
        return 0;
    }
    const std::vector<bool> carriers = CarriersOf(pronunciation);
    const int n = static_cast<int>(carriers.size());
    if (n == 0) {
        return 0;
    }
    int nucleus = n >= 3 ? n - 2 : 1;
    while (nucleus > 1 && !carriers[static_cast<std::size_t>(nucleus - 1)]) {
        --nucleus;
    }
    return nucleus;
}

void SetRuleAccents(std::vector<LabelWord>& words) {
    for (LabelWord& w : words) {
        if (!w.accentKnown) {
            w.accent = AccentByRule(w.pronunciation, w.pos);
        }
    }
}

} // namespace yomi6::labels
