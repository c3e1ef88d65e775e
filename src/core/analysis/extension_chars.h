// Characters that code page 932 has beyond JIS X 0208 (the NEC special row and the IBM
// extensions: ① Ⅱ ㈱ ㍉ 髙 﨑 …) in the form the analyzer and the number reading understand: ①
// as 1, ㈱ as 株式会社, 髙 as 高. Without it they are silent: no dictionary holds them.
#pragma once

#include <span>
#include <string_view>

namespace yomi6 {

struct ExtensionForm {
    char16_t c;
    const char* utf8; // what is read in its place
};

// The whole table, sorted by character.
std::span<const ExtensionForm> ExtensionForms();

// The UTF-8 text read in place of c; empty when c is read as it is.
std::string_view ExtensionCharForm(char16_t c);

} // namespace yomi6
