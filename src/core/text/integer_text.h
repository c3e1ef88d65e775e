// Reading an integer typed into a dialog's edit box, as the dialogs' data exchange does.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace yomi6 {

// The most bytes of an edit box's text that the exchange looks at.
inline constexpr std::size_t kIntegerTextMaxBytes = 31;

// The signed decimal integer that text (code page 932 bytes) holds, or none when it holds
// anything else. Only the first 31 bytes count. Blanks and tabs around the number are skipped;
// the number may start with white space and a sign; nothing but blanks and tabs may follow it.
// A value of 0 is accepted only when the text's first character after the blanks is the digit
// 0, so an empty text, a lone sign or "-0" are refused. A number out of the 32-bit range is
// taken as the nearest 32-bit value, so that a range check then refuses it.
std::optional<std::int32_t> ParseIntegerText(std::string_view text);

} // namespace yomi6
