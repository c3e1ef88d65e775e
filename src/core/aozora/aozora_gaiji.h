// The characters that gaiji notes of Aozora Bunko texts name: a JIS X 0213 plane-row-cell
// ("第3水準1-84-77") or a Unicode code point ("U+6318").
#pragma once

#include <string>
#include <string_view>

namespace yomi6 {

// The character (UTF-8; a few cells are a base and a combining mark) of JIS X 0213 plane
// 1-2, row 1-94, cell 1-94; empty where the cell holds none.
std::string JisX0213Character(int plane, int row, int cell);

// The character a gaiji note's text (UTF-8, between ［＃ and ］) names by its code: the first
// plane-row-cell after "水準", else the first "U+" code point; empty when it names none.
std::string GaijiCharacter(std::string_view note);

} // namespace yomi6
