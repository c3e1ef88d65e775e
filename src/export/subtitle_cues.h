// Subtitles of an export: one cue per sentence or line of the source text, shown from the start
// of its first sounding unit to the end of its last one (for the sample voices one tick after
// its start), and their SRT and WebVTT text.
#pragma once

#include "export/speech_export.h"
#include "export/spoken_unit.h"
#include "text/speech_text.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace yomi6 {

struct SubtitleCue {
    std::int64_t startMs = 0;
    std::int64_t endMs = 0;
    std::size_t sourceBegin = 0; // the sentence's source bytes
    std::size_t sourceEnd = 0;
    std::string text; // its text in UTF-8 on one line, without controls or blanks around it
};

enum class SubtitleFormat { Srt, WebVtt };

// The end of the sentence that starts at begin (a character boundary) in text (code page 932):
// after a line end, after 。 ． ！ ？ ｡ (with the closing brackets that follow), or after . ! ?
// before a blank, a line end or the text's end; at most at end.
std::size_t SentenceEnd(std::string_view text, std::size_t begin, std::size_t end);

// Builds the cues from the units of an export in their order. A sentence none of whose units
// sounds (blank lines, lone signs) gets no cue.
class SubtitleCueBuilder {
public:
    using Sink = std::function<bool(const SubtitleCue&)>;

    // text and [from, to) as in the export request; tickMs the timer interval, for ticks.
    SubtitleCueBuilder(std::string_view text, std::size_t from, std::size_t to, std::int64_t tickMs,
                       Sink sink);

    // False when the sink refused a cue. A silent unit starts and ends no cue.
    bool Add(const SpokenUnit& unit);
    // A tick of the sample voices: the unit it passed over, one tick long.
    bool Add(const ExportTick& tick);
    // Ends the last cue.
    bool Finish();
    // Cues of a text read as Aozora notation show it as printed: no ruby, notes or bars.
    void ShowWithoutNotation(bool on) { m_withoutNotation = on; }
    // The characters of the text that the code page lacks (sorted), shown as themselves.
    void ShowStandIns(std::span<const StandIn> standIns) { m_standIns = standIns; }

private:
    bool Close();

    std::string_view m_text;
    std::size_t m_to;
    std::int64_t m_tickMs;
    Sink m_sink;
    std::size_t m_sentenceBegin;
    std::size_t m_sentenceEnd;
    bool m_open = false;
    bool m_withoutNotation = false;
    std::span<const StandIn> m_standIns;
    std::int64_t m_firstMs = 0;
    std::int64_t m_lastEndMs = 0;
};

// "HH:MM:SS,mmm" (SRT) or "HH:MM:SS.mmm" (WebVTT); hours take more digits past 99.
std::string FormatCueTime(std::int64_t ms, SubtitleFormat format);

// What a subtitle file starts with ("WEBVTT" and a blank line; nothing for SRT).
std::string SubtitleHeader(SubtitleFormat format);

// One cue as a block of the file, its blank line after it; number is the SRT counter (from 1).
// No text can be read as a tag or a timing line: WebVTT text has & < > escaped, SRT text (which
// has no escapes) has < > { in their full-width forms ＜ ＞ ｛.
std::string FormatCue(const SubtitleCue& cue, std::int64_t number, SubtitleFormat format);

} // namespace yomi6
