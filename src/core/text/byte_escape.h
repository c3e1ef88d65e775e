// Escape characters: bytes of a file that are carried through the text as themselves.
//
// A byte that cannot be shown as (part of) a character that writes back to the same bytes is
// held in the text as U+F700 + byte: invalid bytes, a lead byte without its trail byte, the
// second code of a duplicated code page 932 character, line ends that differ from the
// document's style. Encoding writes an escape character as its byte, so that an unedited
// document saves back byte for byte.
//
// The block U+F700-U+F7FF lies in the private use area between the user-defined characters of
// code page 932 (U+E000-U+E757) and its own private-use codes (U+F8F0-U+F8F3): code page 932
// never decodes to it, and a UTF-8 file that holds such a character is decoded to the
// escapes of its three bytes, so an escape character always means a raw byte.
#pragma once

#include <cstdint>

namespace yomi6 {

inline constexpr char16_t kByteEscapeFirst = 0xF700;
inline constexpr char16_t kByteEscapeLast = 0xF7FF;

constexpr bool IsByteEscape(char32_t c) {
    return c >= kByteEscapeFirst && c <= kByteEscapeLast;
}

constexpr char16_t ByteEscape(std::uint8_t byte) {
    return static_cast<char16_t>(kByteEscapeFirst + byte);
}

// The byte of an escape character (IsByteEscape(c) must hold).
constexpr std::uint8_t EscapedByte(char32_t c) {
    return static_cast<std::uint8_t>(c - kByteEscapeFirst);
}

} // namespace yomi6
