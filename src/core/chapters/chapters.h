// The chapters of a book, from its text: the headings an Aozora Bunko file marks with its notes
// (大見出し, 中見出し, 小見出し, each as "［＃「…」は中見出し］" after the heading, as a pair
// "［＃中見出し］…［＃中見出し終わり］" around it, or as a block from "［＃ここから中見出し］" to
// "［＃ここで中見出し終わり］"), or, in a text with none of those notes, the lines that are
// headings by a plain rule (plain_headings.h). The list is for the table of contents, reading
// from a heading, and audio books split by chapter.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace yomi6 {

// 1: a large heading (a part), 2: a medium one (a chapter), 3: a small one (a section or a
// scene break).
struct Chapter {
    int level = 2;
    std::size_t begin = 0; // the start of the heading's line, in the text's UTF-16 units
    std::u16string title;  // as it reads, without notation
    bool operator==(const Chapter&) const = default;
};

// The chapters of text ('\n' line breaks), in text order. The time taken grows with the length
// of the text alone.
std::vector<Chapter> FindChapters(std::u16string_view text);

} // namespace yomi6
