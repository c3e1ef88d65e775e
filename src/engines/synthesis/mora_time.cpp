#include "synthesis/mora_time.h"

#include <string_view>

namespace yomi6::synthesis {

namespace {

// What ends a mora: a vowel (upper case when devoiced), the moraic nasal or the geminate.
bool EndsMora(std::string_view phoneme) {
    static constexpr std::string_view kEnds[] = {"a", "i", "u", "e", "o", "A",
                                                 "I", "U", "E", "O", "N", "cl"};
    for (const std::string_view end : kEnds) {
        if (phoneme == end) {
            return true;
        }
    }
    return false;
}

} // namespace

std::vector<MoraTime> GroupMorae(std::span<const PhonemeTime> phonemes) {
    std::vector<MoraTime> morae;
    std::size_t first = 0; // the first phoneme of the mora being gathered
    const auto close = [&](std::size_t last, bool silent) {
        morae.push_back(MoraTime{first, last + 1 - first, phonemes[first].startFrame,
                                 phonemes[last].endFrame, silent});
        first = last + 1;
    };
    for (std::size_t i = 0; i < phonemes.size(); ++i) {
        const std::string_view p = phonemes[i].phoneme;
        if (IsSilence(p)) {
            if (first < i) {
                close(i - 1, false); // consonants left before a pause
            }
            close(i, true);
        } else if (EndsMora(p)) {
            close(i, false);
        }
    }
    if (first < phonemes.size()) {
        close(phonemes.size() - 1, false);
    }
    return morae;
}

} // namespace yomi6::synthesis
