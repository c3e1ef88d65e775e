#include "playback/long_reading.h"

#include "playback/pass_planner.h"
#include "reading/word_ranges.h"

#include <algorithm>

namespace yomi6 {

void LongReading::Begin(std::u16string text, std::size_t begin, std::size_t end,
                        AozoraMode aozora) {
    m_text = std::move(text);
    m_aozora = ReadsAsAozora(aozora, m_text);
    m_spans = m_aozora ? NotationSpans(ParseAozoraNotation(m_text)) : NotationSpans();
    m_rubies = RubyGlossary();
    m_end = AozoraReadEnd(m_aozora, m_text, std::min(end, m_text.size()));
    m_begin = std::min(AozoraReadStart(m_aozora, m_text, begin), m_end);
    m_next = m_begin;
    m_active = true;
}

void LongReading::Clear() {
    *this = LongReading();
}

bool LongReading::CutNextPass(bool repeat, std::size_t& cut) {
    bool startedAgain = false;
    for (;;) {
        m_next = m_spans.PassStart(m_next);
        if (m_next >= m_end) {
            // With repeat, once more from the start; but not again when all of it was silent.
            if (!repeat || m_begin >= m_end || startedAgain) {
                return false;
            }
            startedAgain = true;
            m_next = m_spans.PassStart(m_begin);
            continue;
        }
        const std::u16string_view rest = std::u16string_view(m_text).substr(m_next, m_end - m_next);
        // Two bytes over the cut, so that a character cut off by the conversion limit lies
        // beyond the cut and is never taken in part.
        m_source = SpeechSourceOf(rest, kPassSourceBytes + 2);
        const bool textEnds = m_source.spans.empty() || m_source.spans.back().end == rest.size();
        cut = PassCutLength(m_source.bytes, textEnds);
        if (cut == 0) {
            return true;
        }
        // Never into notation that goes on past the cut: the cut moves to where it starts, or
        // past its end when it starts the pass (it is longer than a pass, and silent).
        const std::size_t end = m_next + m_source.TextSpan(0, cut).end;
        const std::size_t kept = m_spans.PassEnd(m_next, end);
        if (kept > end) {
            m_next = kept;
            continue;
        }
        while (cut > 0 && m_next + m_source.spans[cut - 1].end > kept) {
            --cut;
        }
        return true;
    }
}

bool LongReading::LoadNextPass(const SpeechPreferences& preferences, SpeechTickState& session,
                               const ReaderSetup& setup, bool repeat) {
    std::size_t cut = 0;
    if (!m_active || !CutNextPass(repeat, cut)) {
        return false;
    }
    const std::size_t rest = m_end - m_next;
    m_source.bytes.resize(cut);
    m_source.spans.resize(cut);
    m_passOffset = m_next;
    m_words = WordRanges(m_source.bytes);
    ReaderSetup passSetup = setup;
    passSetup.aozora = m_aozora;
    passSetup.rubies = &m_rubies;
    StartSpeech(preferences, session, reinterpret_cast<const unsigned char*>(m_source.bytes.data()),
                cut, passSetup);
    const std::size_t read = PassAdvance(cut, static_cast<std::size_t>(session.sourceEnd));
    m_next += read == 0 ? rest : m_source.TextSpan(0, read).end;
    return true;
}

} // namespace yomi6
