// Corrections of an analyzer's pronunciation to the form a reader says aloud, where a dictionary
// writes a word as it is spoken casually or formally: 言う as ユウ (IPADIC's という トユウ,
// UniDic's いう ユウ) is read イウ and its 言っ ユッ as イッ, and UniDic's 私 ワタクシ is read
// ワタシ, the plain reading of the word; a katakana word with ヴ is said as it is written.
#pragma once

#include <string>
#include <string_view>

namespace yomi6 {

// Rewrites pronunciation (full-width katakana, UTF-8) of the word written surface.
void ApplySpokenForms(std::string_view surface, std::string& pronunciation);

} // namespace yomi6
