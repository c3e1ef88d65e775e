// Where a sentence ends in code page 932 text. The pass planner cuts its passes after a sentence
// end and the subtitles end a cue on one, so both take the rule from here.
#pragma once

#include <cstdint>

namespace yomi6::cp932 {

// A two-byte sentence end: 。 ． ？ ！ (0x8142, 0x8144, 0x8148, 0x8149).
constexpr bool IsWideSentenceEnd(std::uint8_t lead, std::uint8_t trail) {
    return lead == 0x81 && (trail == 0x42 || trail == 0x44 || trail == 0x48 || trail == 0x49);
}

} // namespace yomi6::cp932
