#include "text/cp932_codec.h"

#include "text/byte_escape.h"
#include "text/cp932.h"
#include "text/cp932_table.h"
#include "text/utf16.h"

#include <algorithm>
#include <array>

namespace yomi6 {
namespace {

const std::array<std::uint16_t, cp932::kEncodeCodeCount>& EncodeTable() {
    return cp932::kEncodeCodes;
}

} // namespace

std::u16string DecodeCp932(std::string_view bytes) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const std::size_t n = bytes.size();
    std::u16string text(n, u'\0'); // never more characters than bytes
    std::size_t out = 0;
    std::size_t i = 0;
    while (i < n) {
        const std::uint8_t b = data[i];
        if (b < 0x80) {
            text[out++] = b;
            ++i;
        } else if (!cp932::IsLeadByte(b)) {
            const char16_t ch = cp932::kSingleByteChars[b];
            text[out++] = ch != cp932::kNoChar ? ch : ByteEscape(b);
            ++i;
        } else if (i + 1 < n && cp932::IsTrailByte(data[i + 1])) {
            // A lead and a trail byte are one code even when it is no character (or a
            // duplicate): both bytes are then escaped, so that the next code starts where a
            // reader of code page 932 expects it.
            const std::uint8_t trail = data[i + 1];
            const char16_t ch =
                cp932::kDoubleByteChars[cp932::LeadRow(b)][trail - cp932::kFirstTrailByte];
            if (ch != cp932::kNoChar) {
                text[out++] = ch;
            } else {
                text[out++] = ByteEscape(b);
                text[out++] = ByteEscape(trail);
            }
            i += 2;
        } else {
            // A lead byte at the end or before a byte that cannot follow it.
            text[out++] = ByteEscape(b);
            ++i;
        }
    }
    text.resize(out);
    return text;
}

std::uint16_t Cp932CodeOf(char16_t ch) {
    return EncodeTable()[ch];
}

EncodeResult EncodeCp932(std::u16string_view text, const EncodeOptions& options,
                         std::size_t maxBytes) {
    const std::array<std::uint16_t, cp932::kEncodeCodeCount>& table = EncodeTable();
    EncodeResult result;
    std::string& out = result.bytes;
    out.reserve(std::min(text.size() * 2 + 2, maxBytes));
    std::size_t i = 0;
    while (i < text.size() && out.size() < maxBytes) {
        const char16_t c = text[i];
        if (const std::size_t lineBreak = utf16::LineBreakAt(text, i, options.lineEnd)) {
            utf16::AppendLineEnd(out, options.lineEnd);
            i += lineBreak;
            continue;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        if (IsByteEscape(c)) {
            out += static_cast<char>(EscapedByte(c));
            ++i;
            continue;
        }
        const std::uint16_t code = utf16::IsSurrogate(c) ? 0 : table[c];
        if (code == 0) {
            std::size_t units = 1;
            const char32_t cp = utf16::CodePointAt(text, i, units);
            result.unencodable.push_back({i, cp});
            out += ' ';
            i += units;
            continue;
        }
        if (code > 0xFF) {
            out += static_cast<char>(code >> 8);
        }
        out += static_cast<char>(code & 0xFF);
        ++i;
    }
    if (out.size() > maxBytes) {
        out.resize(maxBytes);
    }
    if (options.onUnencodable == OnUnencodable::Fail && !result.ok()) {
        out.clear();
    }
    return result;
}

} // namespace yomi6
