#include "aozora/notation_spans.h"

#include <algorithm>

namespace yomi6 {

namespace {

// The range of ranges (sorted, never overlapping) that holds at, nullptr when none does.
const NotationRange* Holding(const std::vector<NotationRange>& ranges, std::size_t at) {
    const auto it = std::upper_bound(
        ranges.begin(), ranges.end(), at,
        [](std::size_t offset, const NotationRange& r) { return offset < r.begin; });
    return it != ranges.begin() && at < std::prev(it)->end ? &*std::prev(it) : nullptr;
}

} // namespace

NotationSpans::NotationSpans(const AozoraNotation& notation) : m_silent(notation.silent) {
    for (const NotationText& g : notation.gaiji) {
        m_gaiji.push_back(g.range);
    }
}

std::size_t NotationSpans::PassStart(std::size_t at) const {
    // Silent notation and gaiji never overlap: at most one range holds at.
    for (const auto* ranges : {&m_silent, &m_gaiji}) {
        if (const NotationRange* r = Holding(*ranges, at); r != nullptr && r->begin < at) {
            return r->end;
        }
    }
    return at;
}

std::size_t NotationSpans::PassEnd(std::size_t from, std::size_t cut) const {
    // Silent notation and gaiji never overlap: at most one range holds the cut.
    for (const auto* ranges : {&m_silent, &m_gaiji}) {
        if (const NotationRange* r = Holding(*ranges, cut); r != nullptr && r->begin < cut) {
            return r->begin > from ? r->begin : r->end;
        }
    }
    return cut;
}

} // namespace yomi6
