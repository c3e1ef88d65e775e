// Kanji of JIS X 0213 beyond JIS X 0208 that old texts print in their traditional form (鷗 of
// 森鷗外, 剝, 頰) and that analyzer dictionaries built on JIS X 0208 know only in the common form
// (鴎, 剥, 頬), and that code page 932 lacks. Aozora Bunko texts give them as gaiji notes, UTF-8
// texts as themselves; the speech reads them in the common form while the text keeps its own
// character.
#pragma once

#include <string_view>

namespace yomi6 {

// The common form (UTF-8) of the kanji whose UTF-8 is utf8; empty when it has none here.
std::string_view CommonKanjiForm(std::string_view utf8);

} // namespace yomi6
