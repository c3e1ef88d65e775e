// A document file's bytes and the editor's text: which encoding and line-end style the file
// has, its text with line breaks as '\n', and the bytes of a text in a document's format.
//
// For every byte string b: EncodeDocument(DecodeDocument(b).text, DecodeDocument(b).format)
// succeeds and gives back b, so an unedited document saves back byte for byte.
#pragma once

#include "text/encode_result.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace yomi6 {

// The largest document the editor opens, in bytes.
inline constexpr std::size_t kMaxDocumentBytes = 1048575;

enum class TextEncoding {
    Cp932,       // Shift-JIS (code page 932), also every plain ASCII file
    Utf8,        // UTF-8 without a byte order mark
    Utf8WithBom, // UTF-8 that starts with the byte order mark EF BB BF
};

struct DocumentFormat {
    TextEncoding encoding = TextEncoding::Cp932;
    LineEnd lineEnd = LineEnd::CrLf;

    friend bool operator==(const DocumentFormat&, const DocumentFormat&) = default;
};

// The encoding of file bytes: valid UTF-8 that starts with the byte order mark is
// Utf8WithBom; other valid UTF-8 that is not plain ASCII is Utf8; everything else (plain ASCII,
// an empty file, any byte string that is not valid UTF-8) is Cp932. So is valid UTF-8 whose
// bytes beyond ASCII are all Shift-JIS half-width katakana (0xA1-0xDF): its UTF-8 reading holds
// only two-byte characters (ﾜ､ would be U+0724), its Shift-JIS reading is katakana.
TextEncoding DetectEncoding(std::string_view bytes);

struct DecodedDocument {
    std::u16string text;   // line breaks as '\n'; the byte order mark is not part of it
    DocumentFormat format; // how to write the text back
    // The file mixes line ends; those of the minority kinds are kept as escape characters.
    bool irregularLineEnds = false;
};

// The text and format of a file (see DetectEncoding and NormalizeLineEnds).
DecodedDocument DecodeDocument(std::string_view bytes);

// The same in an encoding chosen by the caller: Cp932, or UTF-8 (Utf8 and Utf8WithBom alike:
// the byte order mark, when there is one, is not part of the text).
DecodedDocument DecodeDocumentAs(std::string_view bytes, TextEncoding encoding);

// The file bytes of text in a format: the byte order mark first for Utf8WithBom, line breaks
// in format.lineEnd. Characters the encoding cannot hold are reported (EncodeCp932,
// EncodeUtf8); with OnUnencodable::Fail the result then holds no bytes.
//
// Saving a code page 932 document as UTF-8 keeps every character; its escape characters
// (bytes that were no character) are written where they are well-formed UTF-8 (ASCII bytes,
// such as odd line ends) and reported otherwise, because raw bytes would make the file
// invalid UTF-8, and so a code page 932 file, when it is opened again.
EncodeResult EncodeDocument(std::u16string_view text, const DocumentFormat& format,
                            OnUnencodable onUnencodable = OnUnencodable::Fail);

} // namespace yomi6
