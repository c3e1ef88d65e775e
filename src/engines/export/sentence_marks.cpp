#include "export/sentence_marks.h"

#include "export/subtitle_cues.h"

#include <algorithm>

namespace yomi6 {

SentenceMarks::SentenceMarks(std::string_view text, std::size_t from, std::size_t to)
    : m_text(text), m_to(std::min(to, text.size())), m_end(std::min(from, m_to)) {}

bool SentenceMarks::Starts(std::size_t begin) {
    if (m_any && begin < m_end) {
        return false;
    }
    m_any = true;
    while (begin >= m_end && m_end < m_to) {
        m_end = SentenceEnd(m_text, m_end, m_to);
    }
    return true;
}

} // namespace yomi6
