#include "labels/label_text.h"

#include "text/halfwidth_kana.h"
#include "text/utf8_codec.h"

#include <cstdint>

namespace yomi6::labels {

namespace {

// The ASCII signs whose full-width form is not U+FF01 + (c - '!').
constexpr struct {
    char ascii;
    char32_t wide;
} kSignForms[] = {
    {' ', U'\u3000'},  {'"', U'\u201D'}, {'\'', U'\u2019'}, {'-', U'\u2212'},
    {'\\', U'\uFFE5'}, {'`', U'\u2018'}, {'~', U'\u301C'},
};

constexpr char32_t kHalfWidthFirst = 0xFF61; // ｡
constexpr char32_t kHalfWidthLast = 0xFF9F;  // ﾟ

char32_t Decode(std::string_view bytes) {
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    switch (bytes.size()) {
    case 1:
        return b(0);
    case 2:
        return ((b(0) & 0x1Fu) << 6) | (b(1) & 0x3Fu);
    case 3:
        return ((b(0) & 0x0Fu) << 12) | ((b(1) & 0x3Fu) << 6) | (b(2) & 0x3Fu);
    default:
        return ((b(0) & 0x07u) << 18) | ((b(1) & 0x3Fu) << 12) | ((b(2) & 0x3Fu) << 6) |
               (b(3) & 0x3Fu);
    }
}

void Append(PreparedText& out, char32_t c, std::size_t source) {
    AppendUtf8(out.utf8, c);
    out.sourceOf.resize(out.utf8.size(), source);
}

} // namespace

PreparedText PrepareText(std::string_view line) {
    PreparedText out;
    std::size_t i = 0;
    while (i < line.size()) {
        const std::size_t n = Utf8SequenceLength(
            reinterpret_cast<const std::uint8_t*>(line.data() + i), line.size() - i);
        if (n == 0) {
            ++i; // no character starts here
            continue;
        }
        const char32_t c = Decode(line.substr(i, n));
        if (c < 0x20 || c == 0x7F) {
            i += n; // a control character
            continue;
        }
        if (c < 0x80) {
            char32_t wide = 0xFF01 + (c - '!');
            for (const auto& s : kSignForms) {
                wide = s.ascii == static_cast<char>(c) ? s.wide : wide;
            }
            Append(out, wide, i);
            i += n;
            continue;
        }
        if (c >= kHalfWidthFirst && c <= kHalfWidthLast) {
            // A half-width kana with the voicing mark after it is one full-width kana.
            std::u16string half(1, static_cast<char16_t>(c));
            std::size_t used = n;
            if (i + n + 3 <= line.size()) {
                const char32_t next = Decode(line.substr(i + n, 3));
                if (next == 0xFF9E || next == 0xFF9F) {
                    half += static_cast<char16_t>(next);
                    used += 3;
                }
            }
            const std::u16string full = ToFullWidthKana(half);
            for (char16_t f : full) {
                if (f != u'゛' && f != u'゜') { // a mark that no kana takes is not said
                    Append(out, f, i);
                }
            }
            i += used;
            continue;
        }
        out.utf8.append(line.substr(i, n));
        out.sourceOf.resize(out.utf8.size(), i);
        i += n;
    }
    out.sourceOf.push_back(line.size());
    return out;
}

} // namespace yomi6::labels
