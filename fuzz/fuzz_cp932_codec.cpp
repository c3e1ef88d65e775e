// The codecs on arbitrary bytes: code page 932 and whole documents save back byte for byte,
// valid UTF-8 round-trips, and any UTF-16 text (lone surrogates, escapes) encodes without a
// crash, to valid UTF-8 when replacements are allowed.
#include "text/cp932_codec.h"
#include "text/document_encoding.h"
#include "text/speech_text.h"
#include "text/utf8_codec.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace yomi6;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const EncodeResult cp932 = EncodeCp932(DecodeCp932(bytes), {});
    Check(cp932.ok() && cp932.bytes == bytes);

    const DecodedDocument document = DecodeDocument(bytes);
    const EncodeResult saved = EncodeDocument(document.text, document.format);
    Check(saved.ok() && saved.bytes == bytes);

    if (IsValidUtf8(bytes)) {
        const EncodeResult utf8 = EncodeUtf8(DecodeUtf8(bytes), {});
        Check(utf8.ok() && utf8.bytes == bytes);
    }

    // The same bytes read as UTF-16 text, as an edit control could hand over anything.
    std::u16string text(size / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
    }
    const EncodeResult asUtf8 = EncodeUtf8(text, {LineEnd::CrLf, OnUnencodable::Replace});
    Check(IsValidUtf8(asUtf8.bytes));
    const EncodeResult failed = EncodeCp932(text, {LineEnd::CrLf, OnUnencodable::Fail});
    Check(failed.ok() || failed.bytes.empty());
    const std::string speech = SpeechBytes(text, 4000);
    Check(speech.size() <= 4000);
    return 0;
}
