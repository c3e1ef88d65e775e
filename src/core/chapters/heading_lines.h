// The lines of a text and the small text helpers both kinds of heading use.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace yomi6::headings {

struct Line {
    std::size_t begin = 0; // in the whole text
    std::u16string_view text;
};

// The lines of text ('\n' breaks; a '\r' before one is not part of its line).
std::vector<Line> SplitLines(std::u16string_view text);

// text without blanks (spaces, ideographic spaces, tabs) at either end.
std::u16string_view TrimBlanks(std::u16string_view text);

// text as it reads: without ［＃…］ notes, 《…》 rubies, ｜ marks and blanks at either end.
std::u16string PlainTitle(std::u16string_view text);

} // namespace yomi6::headings
