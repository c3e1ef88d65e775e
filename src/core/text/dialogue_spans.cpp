#include "text/dialogue_spans.h"

#include "text/cp932.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace yomi6 {

namespace {

// The trail bytes after 0x81 of the full-width signs the rule looks at.
enum Trail : std::uint8_t {
    kSpace = 0x40,       // 　
    kNoteOpen = 0x6D,    // ［
    kNoteClose = 0x6E,   // ］
    kRubyOpen = 0x73,    // 《
    kRubyClose = 0x74,   // 》
    kQuoteOpen = 0x75,   // 「
    kQuoteClose = 0x76,  // 」
    kDoubleOpen = 0x77,  // 『
    kDoubleClose = 0x78, // 』
    kSharp = 0x94,       // ＃
};

// What the opening bracket before a text's start awaits: either closing bracket.
constexpr std::uint8_t kEitherClose = 0;

// The closing bracket's trail byte of an opening one.
std::uint8_t ClosingOf(std::uint8_t open) {
    return open == kQuoteOpen ? kQuoteClose : kDoubleClose;
}

class SpanScan {
public:
    SpanScan(std::string_view text, bool startsInsideLine) : m_text(text) {
        if (startsInsideLine) {
            m_open.push_back(kEitherClose);
        }
    }

    // Whether a bracket was left open at the end of the text scanned.
    bool EndedOpen() const { return m_endedOpen; }

    std::vector<DialogueSpan> Run() {
        std::size_t i = 0;
        while (i < m_text.size()) {
            const auto b = static_cast<std::uint8_t>(m_text[i]);
            if (b == '\r' || b == '\n') {
                i += b == '\r' && i + 1 < m_text.size() && m_text[i + 1] == '\n' ? 2u : 1u;
                LineEnd();
                continue;
            }
            if (cp932::IsLeadByte(b) && i + 1 < m_text.size()) {
                Wide(i, static_cast<std::uint8_t>(m_text[i + 1]));
                i += 2;
                continue;
            }
            if (b != ' ' && b != '\t') {
                Content(i + 1);
            }
            ++i;
        }
        m_endedOpen = !m_open.empty();
        if (m_endedOpen) {
            m_spans.push_back({m_begin, m_text.size()});
        }
        return std::move(m_spans);
    }

private:
    void Content(std::size_t end) {
        m_lineHasContent = true;
        m_contentEnd = end;
    }

    void LineEnd() {
        m_inNote = m_inRuby = false; // notation never spans lines
        if (!m_lineHasContent && !m_open.empty()) {
            m_spans.push_back({m_begin, m_contentEnd}); // a paragraph ends a bracket left open
            m_open.clear();
        }
        m_lineHasContent = false;
    }

    void Wide(std::size_t at, std::uint8_t trail) {
        const auto lead = static_cast<std::uint8_t>(m_text[at]);
        if (lead != 0x81 || trail != kSpace) {
            Content(at + 2);
        }
        if (lead != 0x81) {
            return;
        }
        if (m_inNote || m_inRuby) {
            if ((m_inNote && trail == kNoteClose) || (m_inRuby && trail == kRubyClose)) {
                m_inNote = m_inRuby = false;
            }
            return;
        }
        if (trail == kNoteOpen && at + 3 < m_text.size() &&
            static_cast<std::uint8_t>(m_text[at + 2]) == 0x81 &&
            static_cast<std::uint8_t>(m_text[at + 3]) == kSharp) {
            m_inNote = true;
        } else if (trail == kRubyOpen) {
            m_inRuby = true;
        } else if (trail == kQuoteOpen || trail == kDoubleOpen) {
            if (m_open.empty()) {
                m_begin = at;
            }
            m_open.push_back(ClosingOf(trail));
        } else if (trail == kQuoteClose || trail == kDoubleClose) {
            Close(trail, at + 2);
        }
    }

    void Close(std::uint8_t trail, std::size_t end) {
        const auto match = std::find_if(m_open.rbegin(), m_open.rend(), [&](std::uint8_t awaited) {
            return awaited == trail || awaited == kEitherClose;
        });
        if (match == m_open.rend()) {
            return; // closes nothing open
        }
        m_open.erase(std::prev(match.base()), m_open.end());
        if (m_open.empty()) {
            m_spans.push_back({m_begin, end});
        }
    }

    std::string_view m_text;
    std::vector<DialogueSpan> m_spans;
    std::vector<std::uint8_t> m_open; // the closing brackets awaited, innermost last
    std::size_t m_begin = 0;          // where the open span begins
    std::size_t m_contentEnd = 0;     // the end of the last character that is not a blank
    bool m_lineHasContent = false;
    bool m_inNote = false;
    bool m_inRuby = false;
    bool m_endedOpen = false;
};

} // namespace

std::vector<DialogueSpan> DialogueSpans(std::string_view text, bool startsInsideLine) {
    return SpanScan(text, startsInsideLine).Run();
}

bool EndsInsideLine(std::string_view text) {
    SpanScan scan(text, false);
    scan.Run();
    return scan.EndedOpen();
}

std::vector<VoiceRun> VoiceRuns(const std::vector<DialogueSpan>& spans, std::size_t from,
                                std::size_t to) {
    std::vector<VoiceRun> runs;
    auto add = [&](std::size_t begin, std::size_t end, bool dialogue) {
        if (begin < end) {
            runs.push_back({begin, end, dialogue});
        }
    };
    std::size_t at = from;
    for (const DialogueSpan& span : spans) {
        if (span.end <= at || span.begin >= to) {
            continue;
        }
        const std::size_t begin = std::max(span.begin, at);
        const std::size_t end = std::min(span.end, to);
        add(at, begin, false);
        add(begin, end, true);
        at = end;
    }
    add(at, to, false);
    return runs;
}

} // namespace yomi6
