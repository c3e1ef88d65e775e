// A reading through any length of text: the text is read pass after pass, each pass cut by the
// pass planner from where the previous one's reading stopped, loaded into a speech state when
// the previous pass has been read. Only the characters of one pass are converted at a time, so
// the cost of starting a pass does not grow with the text.
#pragma once

#include "aozora/aozora_notation.h"
#include "aozora/aozora_reading.h"
#include "aozora/notation_spans.h"
#include "playback/speech_state.h"
#include "reading/source_range.h"
#include "reading/text_reader.h"
#include "text/speech_text.h"

#include <cstddef>
#include <string>
#include <vector>

namespace yomi6 {

class LongReading {
public:
    // Reads characters [begin, end) of text (UTF-16, '\n' or "\r\n" line breaks); both are
    // clamped to the text. aozora says whether the whole text is read as Aozora notation (each
    // pass then heeds it, and the colophon is not read).
    void Begin(std::u16string text, std::size_t begin, std::size_t end,
               AozoraMode aozora = AozoraMode::Off);
    // Whether the text is read as Aozora notation.
    bool ReadsAozora() const { return m_aozora; }
    // Forgets the text.
    void Clear();
    bool IsActive() const { return m_active; }

    // Loads the next pass into state as the speak command does (the speaking flag raised, the
    // indexes at the pass's first byte). Past the end: with repeat, the first pass again; else
    // false and state unchanged.
    // The pass is read as preferences.readings says.
    bool LoadNextPass(const SpeechPreferences& preferences, SpeechTickState& session,
                      const ReaderSetup& setup, bool repeat);
    bool LoadNextPass(SpeechState& state, const ReaderSetup& setup, bool repeat) {
        return LoadNextPass(state, state, setup, repeat);
    }

    // The pass last loaded: its speech bytes, the words in them, and the text position of its
    // first character (the source bytes' spans are relative to it).
    const SpeechSource& Source() const { return m_source; }
    const std::vector<SourceRange>& Words() const { return m_words; }
    std::size_t PassOffset() const { return m_passOffset; }

private:
    // Cuts the next pass into m_source (cut: its length in bytes) from m_next, moved past
    // silent notation; false past the end.
    bool CutNextPass(bool repeat, std::size_t& cut);

    bool m_active = false;
    bool m_aozora = false;
    std::u16string m_text;
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
    std::size_t m_next = 0;
    std::size_t m_passOffset = 0;
    NotationSpans m_spans; // the notation of the text read as Aozora notation
    RubyGlossary m_rubies; // the words its passes have given a ruby
    SpeechSource m_source;
    std::vector<SourceRange> m_words;
};

} // namespace yomi6
