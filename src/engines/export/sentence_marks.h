// Which units of a reading start a sentence or line of its text (SentenceEnd), for the engines
// that mark them on their units.
#pragma once

#include <cstddef>
#include <string_view>

namespace yomi6 {

class SentenceMarks {
public:
    // Units of source bytes [from, to) of text, asked about in text order.
    SentenceMarks(std::string_view text, std::size_t from, std::size_t to);

    // Whether the unit whose source starts at begin is the first asked about in its sentence.
    bool Starts(std::size_t begin);

private:
    std::string_view m_text;
    std::size_t m_to;
    std::size_t m_end; // the end of the sentence of the last unit asked about
    bool m_any = false;
};

} // namespace yomi6
