// The lossless code page 932 codec between file bytes and the editor's UTF-16 text.
//
// Decoding never loses a byte: every byte or byte pair that does not decode to a character
// which encodes back to the same bytes becomes escape characters (text/byte_escape.h), so
// EncodeCp932(DecodeCp932(bytes)) gives back exactly the bytes, for every byte string.
#pragma once

#include "text/encode_result.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace yomi6 {

// The text of code page 932 bytes. Line ends are left as they are ('\r' and '\n').
std::u16string DecodeCp932(std::string_view bytes);

// The code page 932 bytes of text: line breaks in options.lineEnd (see utf16::LineBreakAt;
// with LineEnd::Lf every character of decoded text is written as itself), escape characters as
// their bytes, every other character as its code. Characters the code page cannot
// hold (most of Unicode, characters outside the BMP, lone surrogates) are reported; with
// OnUnencodable::Replace each becomes one blank 0x20.
//
// maxBytes stops the encoding once that many bytes are written and cuts the result to exactly
// maxBytes (a double-byte code may be cut in half, as a byte limit does); only the characters
// encoded so far are reported.
EncodeResult EncodeCp932(std::u16string_view text, const EncodeOptions& options,
                         std::size_t maxBytes = std::numeric_limits<std::size_t>::max());

// The code of one character: a single byte (0x00-0xFF) or lead << 8 | trail; 0 when code page
// 932 cannot hold it (U+0000 itself is code 0x00). Escape characters are not codes: they give 0.
std::uint16_t Cp932CodeOf(char16_t ch);

} // namespace yomi6
