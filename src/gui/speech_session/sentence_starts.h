// Where the sentences of a pass's bytes start (natural::SplitChunks, without the cut after the
// first particle that starts a live reading sooner), found when first asked: the only places a
// reading hands over to another voice, so that no sentence is said half in one voice.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace yomi6 {

class SentenceStarts {
public:
    // The pass's bytes changed.
    void Reset() { m_starts.reset(); }
    // Whether a sentence of bytes starts at byte.
    bool Has(std::string_view bytes, std::size_t byte);

private:
    std::optional<std::vector<std::size_t>> m_starts;
};

} // namespace yomi6
