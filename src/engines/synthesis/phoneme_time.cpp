#include "synthesis/phoneme_time.h"

namespace yomi6::synthesis {

std::string_view PhonemeOf(std::string_view label) {
    // Times, when given, come first and are separated by blanks; the label itself has none.
    if (const std::size_t blank = label.find_last_of(" \t"); blank != std::string_view::npos) {
        label.remove_prefix(blank + 1);
    }
    const std::size_t minus = label.find('-');
    const std::size_t plus = label.find('+', minus == std::string_view::npos ? 0 : minus);
    if (minus == std::string_view::npos || plus == std::string_view::npos ||
        label.find('^') > minus) {
        return {};
    }
    return label.substr(minus + 1, plus - minus - 1);
}

bool IsSilence(std::string_view phoneme) {
    return phoneme == "pau" || phoneme == "sil";
}

} // namespace yomi6::synthesis
