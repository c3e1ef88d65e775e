#include "text/document_encoding.h"

#include "text/cp932_codec.h"
#include "text/line_ends.h"
#include "text/utf8_codec.h"

namespace yomi6 {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

} // namespace

TextEncoding DetectEncoding(std::string_view bytes) {
    if (IsAscii(bytes) || !IsValidUtf8(bytes)) {
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
