#include "text/utf8_codec.h"

#include "text/byte_escape.h"
#include "text/utf16.h"

#include <cstring>

namespace yomi6 {
namespace {

constexpr bool IsContinuation(std::uint8_t b) {
    return (b & 0xC0) == 0x80;
}

// The code point of a sequence that Utf8SequenceLength accepted.
char32_t DecodeSequence(const std::uint8_t* p, std::size_t length) {
    switch (length) {
    case 1:
        return p[0];
    case 2:
        return (char32_t{p[0]} & 0x1F) << 6 | (p[1] & 0x3Fu);
    case 3:
        return (char32_t{p[0]} & 0x0F) << 12 | (p[1] & 0x3Fu) << 6 | (p[2] & 0x3Fu);
    default:
        return (char32_t{p[0]} & 0x07) << 18 | (p[1] & 0x3Fu) << 12 | (p[2] & 0x3Fu) << 6 |
               (p[3] & 0x3Fu);
    }
}

constexpr char32_t kReplacementCharacter = 0xFFFD;

} // namespace

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::size_t Utf8SequenceLength(const std::uint8_t* p, std::size_t available) {
    if (available == 0) {
        return 0;
    }
    const std::uint8_t b = p[0];
    if (b < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    std::uint8_t low = 0x80; // the range of the second byte, narrower after some first bytes
    std::uint8_t high = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        if (b == 0xE0) {
            low = 0xA0; // no overlong three-byte forms
        } else if (b == 0xED) {
            high = 0x9F; // no surrogates
        }
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        if (b == 0xF0) {
            low = 0x90; // no overlong four-byte forms
        } else if (b == 0xF4) {
            high = 0x8F; // nothing above U+10FFFF
        }
    } else {
        return 0; // a continuation byte, an overlong two-byte lead C0/C1, or F5-FF
    }
    if (available < length || p[1] < low || p[1] > high) {
        return 0;
    }
    for (std::size_t k = 2; k < length; ++k) {
        if (!IsContinuation(p[k])) {
            return 0;
        }
    }
    return length;
}

Utf8Char FirstUtf8Char(std::string_view bytes) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const std::size_t length = Utf8SequenceLength(p, bytes.size());
    if (length == 0) {
        return {kReplacementCharacter, 0};
    }
    return {DecodeSequence(p, length), length};
}

std::size_t Utf8Step(std::string_view bytes) {
    if (bytes.empty()) {
        return 0;
    }
    const std::size_t length =
        Utf8SequenceLength(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return length == 0 ? 1 : length;
}

bool IsAscii(std::string_view bytes) {
    std::size_t i = 0;
    // Eight bytes at a time: a file is mostly one or the other.
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        if (word & 0x8080808080808080ull) {
            return false;
        }
    }
    for (; i < bytes.size(); ++i) {
        if (static_cast<std::uint8_t>(bytes[i]) >= 0x80) {
            return false;
        }
    }
    return true;
}

bool IsValidUtf8(std::string_view bytes) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        if (data[i] < 0x80) {
            ++i;
            continue;
        }
        const std::size_t length = Utf8SequenceLength(data + i, n - i);
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

std::u16string DecodeUtf8(std::string_view bytes) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const std::size_t n = bytes.size();
    std::u16string text(n, u'\0'); // never more UTF-16 units than bytes
    std::size_t out = 0;
    std::size_t i = 0;
    while (i < n) {
        const std::uint8_t b = data[i];
        if (b < 0x80) {
            text[out++] = b;
            ++i;
            continue;
        }
        const std::size_t length = Utf8SequenceLength(data + i, n - i);
        if (length == 0) {
            text[out++] = ByteEscape(b);
            ++i;
            continue;
        }
        const char32_t cp = DecodeSequence(data + i, length);
        if (IsByteEscape(cp)) {
            // A character of the escape block would read back as a raw byte: keep its bytes.
            for (std::size_t k = 0; k < length; ++k) {
                text[out++] = ByteEscape(data[i + k]);
            }
        } else if (cp >= 0x10000) {
            text[out++] = static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            text[out++] = static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            text[out++] = static_cast<char16_t>(cp);
        }
        i += length;
    }
    text.resize(out);
    return text;
}

EncodeResult EncodeUtf8(std::u16string_view text, const EncodeOptions& options) {
    EncodeResult result;
    std::string& out = result.bytes;
    out.reserve(text.size() * 3 + 2);
    std::string run; // the bytes of a run of escape characters
    std::size_t i = 0;
    while (i < text.size()) {
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
            // Characters around a run always write whole sequences, so the run is valid UTF-8
            // in the file exactly when it is valid on its own.
            const std::size_t start = i;
            run.clear();
            while (i < text.size() && IsByteEscape(text[i])) {
                run += static_cast<char>(EscapedByte(text[i]));
                ++i;
            }
            const auto* p = reinterpret_cast<const std::uint8_t*>(run.data());
            std::size_t k = 0;
            while (k < run.size()) {
                const std::size_t length = Utf8SequenceLength(p + k, run.size() - k);
                if (length != 0) {
                    out.append(run, k, length);
                    k += length;
                } else {
                    result.unencodable.push_back({start + k, text[start + k]});
                    AppendUtf8(out, kReplacementCharacter);
                    ++k;
                }
            }
            continue;
        }
        std::size_t units = 1;
        const char32_t cp = utf16::CodePointAt(text, i, units);
        if (utf16::IsSurrogate(cp)) {
            result.unencodable.push_back({i, cp});
            AppendUtf8(out, kReplacementCharacter);
        } else {
            AppendUtf8(out, cp);
        }
        i += units;
    }
    if (options.onUnencodable == OnUnencodable::Fail && !result.ok()) {
        out.clear();
    }
    return result;
}

} // namespace yomi6
