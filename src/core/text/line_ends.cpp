#include "text/line_ends.h"

#include "text/byte_escape.h"

#include <cstddef>

namespace yomi6 {
namespace {

struct LineEndCounts {
    std::size_t crlf = 0;
    std::size_t lf = 0; // LF not after CR
    std::size_t cr = 0; // CR not before LF
};

LineEndCounts Count(const std::u16string& text) {
    LineEndCounts counts;
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (text[i] == u'\r') {
            if (i + 1 < n && text[i + 1] == u'\n') {
                ++counts.crlf;
                ++i;
            } else {
                ++counts.cr;
            }
        } else if (text[i] == u'\n') {
            ++counts.lf;
        }
    }
    return counts;
}

LineEnd MostFrequent(const LineEndCounts& c) {
    if (c.crlf >= c.lf && c.crlf >= c.cr) {
        return LineEnd::CrLf;
    }
    return c.lf >= c.cr ? LineEnd::Lf : LineEnd::Cr;
}

// Rewrites the line ends in place (the text only shrinks): line ends of the style become '\n',
// other CR and LF characters become escapes.
void Rewrite(std::u16string& text, LineEnd style) {
    constexpr char16_t kCrEscape = ByteEscape(0x0D);
    constexpr char16_t kLfEscape = ByteEscape(0x0A);
    const std::size_t n = text.size();
    std::size_t out = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t c = text[i];
        if (c == u'\r') {
            const bool pair = i + 1 < n && text[i + 1] == u'\n';
            if (style == LineEnd::CrLf && pair) {
                text[out++] = u'\n';
                ++i;
            } else {
                text[out++] = style == LineEnd::Cr ? u'\n' : kCrEscape;
            }
        } else if (c == u'\n') {
            text[out++] = style == LineEnd::Lf ? u'\n' : kLfEscape;
        } else {
            text[out++] = c;
        }
    }
    text.resize(out);
}

} // namespace

LineEndScan NormalizeLineEnds(std::u16string& text) {
    const LineEndCounts counts = Count(text);
    const int kinds = (counts.crlf > 0) + (counts.lf > 0) + (counts.cr > 0);
    LineEndScan scan;
    if (kinds == 0) {
        return scan;
    }
    scan.style = MostFrequent(counts);
    scan.irregular = kinds > 1;
    if (scan.style != LineEnd::Lf || scan.irregular) {
        Rewrite(text, scan.style);
    }
    return scan;
}

} // namespace yomi6
