// Reading code points out of UTF-16 text that may hold lone surrogates, and writing line ends.
#pragma once

#include "text/encode_result.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace yomi6::utf16 {

constexpr bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}
constexpr bool IsHighSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
constexpr bool IsLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// The code point that starts at text[i] and the number of code units it takes (1 or 2). A
// surrogate that is not part of a pair comes back as itself, one unit long.
inline char32_t CodePointAt(std::u16string_view text, std::size_t i, std::size_t& units) {
    const char32_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
        units = 2;
        return 0x10000 + ((c - 0xD800) << 10) + (char32_t{text[i + 1]} - 0xDC00);
    }
    units = 1;
    return c;
}

// The length of the line break at text[i] when written in lineEnd: 1 for '\n'; 2 for "\r\n"
// in the CR LF and CR styles, whose line end takes the CR in; 0 for anything else. Any other
// '\r' is written as the byte it is, so that with LineEnd::Lf every character of decoded text
// is written back as its own bytes.
inline std::size_t LineBreakAt(std::u16string_view text, std::size_t i, LineEnd lineEnd) {
    if (text[i] == u'\n') {
        return 1;
    }
    if (text[i] == u'\r' && lineEnd != LineEnd::Lf && i + 1 < text.size() && text[i + 1] == u'\n') {
        return 2;
    }
    return 0;
}

inline void AppendLineEnd(std::string& out, LineEnd lineEnd) {
    switch (lineEnd) {
    case LineEnd::CrLf:
        out += "\r\n";
        break;
    case LineEnd::Lf:
        out += '\n';
        break;
    case LineEnd::Cr:
        out += '\r';
        break;
    }
}

} // namespace yomi6::utf16
