#include "chapters/heading_lines.h"

namespace yomi6::headings {

std::vector<Line> SplitLines(std::u16string_view text) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(u'\n', start);
        const bool last = end == std::u16string_view::npos;
        if (last) {
            end = text.size();
        }
        std::size_t stop = end;
        if (stop > start && text[stop - 1] == u'\r') {
            --stop;
        }
        lines.push_back({start, text.substr(start, stop - start)});
        if (last) {
            break;
        }
        start = end + 1;
    }
    return lines;
}

namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\u3000';
}

} // namespace

std::u16string_view TrimBlanks(std::u16string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

std::u16string PlainTitle(std::u16string_view text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        const char16_t c = text[i];
        if (c == u'［' && i + 1 < text.size() && text[i + 1] == u'＃') {
            const std::size_t close = text.find(u'］', i);
            if (close != std::u16string_view::npos) {
                i = close + 1;
                continue;
            }
        } else if (c == u'《') {
            const std::size_t close = text.find(u'》', i);
            if (close != std::u16string_view::npos) {
                i = close + 1;
                continue;
            }
        } else if (c == u'｜') {
            ++i;
            continue;
        }
        out += c;
        ++i;
    }
    return std::u16string(TrimBlanks(out));
}

} // namespace yomi6::headings
