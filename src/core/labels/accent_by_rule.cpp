#include "labels/accent_by_rule.h"

#include "labels/mora_table.h"

#include <string>

namespace yomi6::labels {

int AccentByRule(std::string_view pronunciation, std::string_view pos) {
    if (pos != "名詞" && pos != std::string_view(kNone)) {
        return 0;
    }
    std::vector<bool> carriers;
    AppendNucleusCarriers(pronunciation, false, carriers);
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

void KeepEntryAccents(std::vector<LabelWord>& words) {
    for (LabelWord& w : words) {
        if (w.accentKnown || w.entryMorae <= 0 || w.accent < 0 || w.accent > w.entryMorae) {
            continue;
        }
        if (w.accent > 0) {
            const int fromEnd = w.entryMorae - w.accent;
            w.accent = w.moraCount - fromEnd >= 1 ? w.moraCount - fromEnd : 1;
        }
        w.accentKnown = true;
    }
}

void SetRuleAccents(std::vector<LabelWord>& words) {
    for (LabelWord& w : words) {
        if (!w.accentKnown) {
            w.accent = AccentByRule(w.pronunciation, w.pos);
        }
    }
}

} // namespace yomi6::labels
