#include "chapters/chapters.h"

#include "chapters/aozora_headings.h"
#include "chapters/heading_lines.h"
#include "chapters/plain_headings.h"

namespace yomi6 {

std::vector<Chapter> FindChapters(std::u16string_view text) {
    const std::vector<headings::Line> lines = headings::SplitLines(text);
    // A text that marks its headings is taken at its word: its other lines are not headings.
    std::vector<Chapter> marked = headings::AozoraHeadings(lines);
    if (!marked.empty()) {
        return marked;
    }
    return headings::PlainHeadings(lines);
}

} // namespace yomi6
