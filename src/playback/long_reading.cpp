#include "playback/long_reading.h"

#include "playback/pass_planner.h"
#include "reading/word_ranges.h"

#include <algorithm>

namespace yomi6 {

void LongReading::Begin(std::u16string text, std::size_t begin, std::size_t end,
                        AozoraMode aozora) {
    m_text = std::move(text);
    m_aozora = ReadsAsAozora(aozora, m_text);
    m_end = AozoraReadEnd(m_aozora, m_text, std::min(end, m_text.size()));
    m_begin = std::min(AozoraReadStart(m_aozora, m_text, begin), m_end);
    m_next = m_begin;
    m_active = true;
}

void LongReading::Clear() {
    *this = LongReading();
}

bool LongReading::LoadNextPass(const SpeechPreferences& preferences, SpeechSession& session,
                               const ReaderSetup& setup, bool repeat) {
    if (!m_active) {
        return false;
    }
    if (m_next >= m_end) {
        if (!repeat || m_begin >= m_end) {
            return false;
        }
        m_next = m_begin;
    }
    const std::u16string_view rest = std::u16string_view(m_text).substr(m_next, m_end - m_next);
    // Two bytes over the cut, so that a character cut off by the conversion limit lies beyond
    // the cut and is never taken in part.
    m_source = SpeechSourceOf(rest, kPassSourceBytes + 2);
    const bool textEnds = m_source.spans.empty() || m_source.spans.back().end == rest.size();
    const std::size_t cut = PassCutLength(m_source.bytes, textEnds);
    m_source.bytes.resize(cut);
    m_source.spans.resize(cut);
    m_passOffset = m_next;
    m_words = WordRanges(m_source.bytes);
    ReaderSetup passSetup = setup;
    passSetup.aozora = m_aozora;
    StartSpeech(preferences, session, reinterpret_cast<const unsigned char*>(m_source.bytes.data()),
                cut, passSetup);
    const std::size_t read = PassAdvance(cut, static_cast<std::size_t>(session.sourceEnd));
    m_next += read == 0 ? rest.size() : m_source.TextSpan(0, read).end;
    return true;
}

} // namespace yomi6
