#include "labels/nucleus_shift.h"

#include "labels/mora_table.h"

namespace yomi6::labels {

void MoveNucleusOffSpecialMorae(std::vector<LabelWord>& words) {
    for (std::size_t top = 0; top < words.size();) {
        std::size_t end = top + 1;
        while (end < words.size() && words[end].chain == 1) {
            ++end;
        }
        std::vector<bool> carriers;
        for (std::size_t i = top; i < end; ++i) {
            AppendNucleusCarriers(words[i].pronunciation, true, carriers);
        }
        int& accent = words[top].accent;
        while (accent > 1 && accent <= static_cast<int>(carriers.size()) &&
               !carriers[static_cast<std::size_t>(accent - 1)]) {
            --accent;
        }
        top = end;
    }
}

void MoveNucleusOffNaiEnd(std::vector<LabelWord>& words) {
    for (std::size_t top = 0; top < words.size();) {
        std::size_t end = top + 1;
        while (end < words.size() && words[end].chain == 1) {
            ++end;
        }
        int& accent = words[top].accent;
        int before = 0; // morae of the phrase before word i
        for (std::size_t i = top; i < end; ++i) {
            const LabelWord& w = words[i];
            if (w.base == "ない" && w.pronunciation.rfind("ナイ", 0) == 0 && accent == before + 2) {
                accent = before + 1;
            }
            before += w.moraCount;
        }
        top = end;
    }
}

} // namespace yomi6::labels
