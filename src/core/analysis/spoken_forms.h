// Corrections of an analyzer's pronunciation to the form a reader says aloud, where a dictionary
// writes a word otherwise: 言う where it ends the word (という, こういう) is said ユー whichever
// way the dictionary writes it (IPADIC's トユウ, a spelled イウ), its 言っ ユッ and 言い ユイ are
// read イッ and イイ, and UniDic's 私 ワタクシ is read ワタシ, the plain reading of the word; a
// katakana word with ヴ is said as it is written.
#pragma once

#include <string>
#include <string_view>

namespace yomi6 {

// Rewrites pronunciation (full-width katakana, UTF-8) of the word written surface.
void ApplySpokenForms(std::string_view surface, std::string& pronunciation);

} // namespace yomi6
