// Where a sentence ends in code page 932 text. The pass planner cuts its passes after a sentence
// end, the subtitles end a cue on one and the natural voice says one sentence per engine run, so
// all three take the rule from here.
#pragma once

#include "text/cp932.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace yomi6::cp932 {

// A two-byte sentence end: 。 ． ？ ！ (0x8142, 0x8144, 0x8148, 0x8149).
constexpr bool IsWideSentenceEnd(std::uint8_t lead, std::uint8_t trail) {
    return lead == 0x81 && (trail == 0x42 || trail == 0x44 || trail == 0x48 || trail == 0x49);
}

// The length of the sentence end that starts at byte i of text, 0 when none starts there: the
// wide ones above, ｡, and . ! ? before a blank, a tab, a line end or the end of text (so that
// 3.14, e.g.x and the ! of !? end nothing). textEnds tells whether text's last byte is the
// text's last: when it is not, a . ! ? at its end is not known to end a sentence, and does not.
constexpr std::size_t SentenceEndLength(std::string_view text, std::size_t i,
                                        bool textEnds = true) {
    if (i >= text.size()) {
        return 0;
    }
    const auto b = static_cast<std::uint8_t>(text[i]);
    if (IsLeadByte(b)) {
        return i + 1 < text.size() && IsWideSentenceEnd(b, static_cast<std::uint8_t>(text[i + 1]))
                   ? 2
                   : 0;
    }
    if (b == 0xA1) { // ｡
        return 1;
    }
    if (b != '.' && b != '!' && b != '?') {
        return 0;
    }
    if (i + 1 >= text.size()) {
        return textEnds ? 1 : 0;
    }
    const char after = text[i + 1];
    return after == ' ' || after == '\t' || after == '\r' || after == '\n' ? 1 : 0;
}

} // namespace yomi6::cp932
