// The headings of a text without heading notes, by a rule that takes a line whole or not at
// all (blanks at its ends aside), so that no sentence is ever taken for one:
//   - "第" + a number + a counter, then the end of the line or a blank and a title, the whole
//     line at most 40 characters with no "。": 第一部, 第3章　旅立ち, 第十二話. The counter gives
//     the level: 部 編 巻 1; 章 話 回 幕 夜 2; 節 3;
//   - a line that is a heading word alone: 序章 終章 プロローグ エピローグ まえがき あとがき
//     はじめに おわりに 序 跋 (level 2);
//   - a line that is a number alone (1-4 kanji numerals or digits), maybe followed by "、" or
//     "．" or ".": 一, 十二, ３ (level 2);
//   - a line of three or more of the signs ＊ * ※ ◇ ◆ ☆ ★ ● ○ ◎ (blanks between allowed), a
//     scene break (level 3), titled as written.
#pragma once

#include "chapters/chapters.h"
#include "chapters/heading_lines.h"

#include <optional>
#include <string_view>
#include <vector>

namespace yomi6::headings {

// The heading line is, if it is one.
std::optional<Chapter> PlainHeading(const Line& line);

std::vector<Chapter> PlainHeadings(const std::vector<Line>& lines);

} // namespace yomi6::headings
