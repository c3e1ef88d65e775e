// UTF-8 between file bytes and the editor's UTF-16 text, with the same escape characters as the
// code page 932 codec (text/byte_escape.h).
#pragma once

#include "text/encode_result.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace yomi6 {

// The length of the well-formed UTF-8 sequence at the start of bytes (1 to 4), or 0 when
// none starts there: no overlong forms, no surrogates, nothing above U+10FFFF, no sequence cut
// short.
std::size_t Utf8SequenceLength(const std::uint8_t* bytes, std::size_t available);

// The character at the start of bytes: its code point and length, or {U+FFFD, 0} when no
// well-formed sequence starts there (as Utf8SequenceLength judges).
struct Utf8Char {
    char32_t codePoint = 0;
    std::size_t length = 0;
};
Utf8Char FirstUtf8Char(std::string_view bytes);

// How far a scan of bytes moves on from their start: the length of the character there, one
// byte over a byte that starts none (a stray continuation byte, a sequence cut short), and 0 for
// no bytes. Never past the end.
std::size_t Utf8Step(std::string_view bytes);

bool IsValidUtf8(std::string_view bytes);

// Appends the UTF-8 bytes of the code point cp (no check that it is a scalar value).
void AppendUtf8(std::string& out, char32_t cp);
bool IsAscii(std::string_view bytes);

// The text of UTF-8 bytes, line ends as they are. Each byte that is not part of a well-formed
// sequence becomes its escape character, and so does each byte of a character in the escape
// block itself, so that EncodeUtf8 gives back exactly the bytes of every valid UTF-8 string.
std::u16string DecodeUtf8(std::string_view bytes);

// The UTF-8 bytes of text: line breaks in options.lineEnd (as EncodeCp932 writes them). Escape
// characters are written as their bytes where those bytes form well-formed UTF-8 (an ASCII byte, or
// the bytes of a whole character); an escaped byte that would make the file invalid UTF-8 (bytes of
// a code page 932 document that were no character) is reported like a lone surrogate, and with
// OnUnencodable::Replace becomes U+FFFD.
EncodeResult EncodeUtf8(std::u16string_view text, const EncodeOptions& options);

} // namespace yomi6
