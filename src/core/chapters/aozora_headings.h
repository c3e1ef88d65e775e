// The headings an Aozora Bunko text marks with its notes: "［＃「…」は中見出し］" after the
// heading, "［＃中見出し］…［＃中見出し終わり］" around it on its line, and the block from
// "［＃ここから中見出し］" to "［＃ここで中見出し終わり］"; 大 (level 1), 中 (2) and 小 (3), each
// also as 同行 and 窓 headings.
#pragma once

#include "chapters/chapters.h"
#include "chapters/heading_lines.h"

#include <vector>

namespace yomi6::headings {

// The marked headings of lines, in order; none when the text marks none.
std::vector<Chapter> AozoraHeadings(const std::vector<Line>& lines);

} // namespace yomi6::headings
