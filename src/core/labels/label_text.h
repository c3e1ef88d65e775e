// A line of text as the analyzer of the labels takes it: ASCII and half-width katakana in their
// full-width forms (the Open JTalk dictionary knows Ａ and ア, not A and ｱ), control characters
// left out, and for every byte the source byte it came from.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace yomi6::labels {

struct PreparedText {
    std::string utf8;
    // sourceOf[i]: the source byte where utf8's byte i came from; one more entry, for the end,
    // holds the end of the source.
    std::vector<std::size_t> sourceOf;
};

// line: UTF-8 (a byte that starts no well-formed character is left out).
PreparedText PrepareText(std::string_view line);

} // namespace yomi6::labels
