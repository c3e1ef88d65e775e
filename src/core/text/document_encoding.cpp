#include "text/document_encoding.h"

#include "text/cp932_codec.h"
#include "text/line_ends.h"
#include "text/utf8_codec.h"

#include <algorithm>

namespace yomi6 {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Whether every byte that is not ASCII is a Shift-JIS half-width katakana or sign (0xA1-0xDF).
// Of valid UTF-8 such bytes can only make two-byte characters (leads 0xC2-0xDF, followers
// 0xA1-0xBF), Syriac, Arabic or Latin letters that a Japanese text does not hold alone, while
// half-width katakana make them easily (ﾜ､ is 0xDC 0xA4, U+0724).
bool AllHalfWidthKatakana(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char ch) {
        const auto c = static_cast<unsigned char>(ch);
        return c < 0x80 || (c >= 0xA1 && c <= 0xDF);
    });
}

} // namespace

TextEncoding DetectEncoding(std::string_view bytes) {
    if (IsAscii(bytes) || !IsValidUtf8(bytes) || AllHalfWidthKatakana(bytes)) {
        return TextEncoding::Cp932;
    }
    return bytes.starts_with(kUtf8Bom) ? TextEncoding::Utf8WithBom : TextEncoding::Utf8;
}

DecodedDocument DecodeDocument(std::string_view bytes) {
    return DecodeDocumentAs(bytes, DetectEncoding(bytes));
}

DecodedDocument DecodeDocumentAs(std::string_view bytes, TextEncoding encoding) {
    DecodedDocument document;
    if (encoding != TextEncoding::Cp932) {
        encoding = bytes.starts_with(kUtf8Bom) ? TextEncoding::Utf8WithBom : TextEncoding::Utf8;
    }
    document.format.encoding = encoding;
    switch (document.format.encoding) {
    case TextEncoding::Cp932:
        document.text = DecodeCp932(bytes);
        break;
    case TextEncoding::Utf8:
        document.text = DecodeUtf8(bytes);
        break;
    case TextEncoding::Utf8WithBom:
        document.text = DecodeUtf8(bytes.substr(kUtf8Bom.size()));
        break;
    }
    const LineEndScan scan = NormalizeLineEnds(document.text);
    document.format.lineEnd = scan.style;
    document.irregularLineEnds = scan.irregular;
    return document;
}

EncodeResult EncodeDocument(std::u16string_view text, const DocumentFormat& format,
                            OnUnencodable onUnencodable) {
    const EncodeOptions options{format.lineEnd, onUnencodable};
    if (format.encoding == TextEncoding::Cp932) {
        return EncodeCp932(text, options);
    }
    EncodeResult result = EncodeUtf8(text, options);
    const bool failed = onUnencodable == OnUnencodable::Fail && !result.ok();
    if (format.encoding == TextEncoding::Utf8WithBom && !failed) {
        result.bytes.insert(0, kUtf8Bom);
    }
    return result;
}

} // namespace yomi6
