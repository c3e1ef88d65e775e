// Where in the source text a piece of a reading came from.
#pragma once

#include <cstdint>

namespace yomi6 {

// Source bytes [begin, end) of the text that was read (offsets into its code page 932 bytes).
struct SourceRange {
    std::uint16_t begin = 0;
    std::uint16_t end = 0;

    bool operator==(const SourceRange&) const = default;
};

} // namespace yomi6
