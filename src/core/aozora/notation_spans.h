// The notation that a reading in passes never cuts. Each pass is parsed by itself, so a pass
// that held only part of a ［＃…］ note, a 《…》 ruby, the explaining block or a gaiji would read
// that part aloud as text: passes start outside such notation and end before it, and notation
// too long for any pass is silent whole.
#pragma once

#include "aozora/aozora_notation.h"

#include <cstddef>
#include <vector>

namespace yomi6 {

class NotationSpans {
public:
    NotationSpans() = default; // a text read without notation: nothing to keep whole
    // The notation of the whole text (positions in its bytes or UTF-16 units).
    explicit NotationSpans(const AozoraNotation& notation);

    // Where a pass that would start at at starts: after the notation at lies inside.
    std::size_t PassStart(std::size_t at) const;
    // Where a pass from from (as PassStart gives it) that would end at cut ends: at the start
    // of the notation the cut would split, or, when that notation starts at from and so is
    // longer than the pass, at its end (past cut: the notation is skipped, silent); else cut.
    std::size_t PassEnd(std::size_t from, std::size_t cut) const;

private:
    std::vector<NotationRange> m_silent; // sorted, never overlapping
    std::vector<NotationRange> m_gaiji;  // sorted, never overlapping
};

} // namespace yomi6
