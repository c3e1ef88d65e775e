// Subtitles of an export: one cue per sentence or line of the source text, shown from the start
// of its first sounding unit to the end of its last one (for the sample voices one tick after
// its start), and their SRT and WebVTT text. A sentence too long for one cue is split between
// its words, after a clause where it can be, so that no cue lasts longer than kMaxCueMs or
// shows more than kMaxCueCharacters (two lines of 42).
#pragma once

#include "engine/spoken_unit.h"
#include "export/speech_export.h"
#include "text/speech_text.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace yomi6 {

inline constexpr std::int64_t kMaxCueMs = 10000;
inline constexpr std::size_t kMaxCueCharacters = 2 * 42;

struct SubtitleCue {
    std::int64_t startMs = 0;
    std::int64_t endMs = 0;
    std::size_t sourceBegin = 0; // the source bytes of the sentence, or of its part
    std::size_t sourceEnd = 0;
    std::string text; // its text in UTF-8 on one line, without controls or blanks around it
};

enum class SubtitleFormat { Srt, WebVtt };

// The end of the sentence that starts at begin (a character boundary) in text (code page 932):
// after a line end, after 。 ． ！ ？ ｡ (with the closing brackets that follow), or after . ! ?
// before a blank, a line end or the text's end; at most at end.
std::size_t SentenceEnd(std::string_view text, std::size_t begin, std::size_t end);

// Builds the cues from the units of an export in their order. A sentence none of whose units
// sounds (blank lines, lone signs) gets no cue. A part of a sentence runs from the start of its
// first unit to the end of its last, so that cues start and end on the units' frames.
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
    // A place before a word of the sentence where its cue may end and the next begin.
    struct Split {
        std::size_t at = 0;       // the source byte the next cue starts at
        std::int64_t endMs = 0;   // the end of the last unit before it
        std::int64_t startMs = 0; // the start of the unit at it
        std::size_t shown = 0;    // the characters shown from the sentence's start to it
    };

    bool Close();
    bool Emit(std::size_t begin, std::size_t end, std::int64_t startMs, std::int64_t endMs);
    // The text a cue shows for source bytes [begin, end), before blanks are trimmed.
    std::string ShownText(std::size_t begin, std::size_t end) const;
    // Counts the characters shown up to the source byte end.
    void CountShown(std::size_t end);
    // Notes where the open cue may be split before unit.
    void NoteSplit(const SpokenUnit& unit);
    // Ends the open cue at the best place to split it; false when the sink refused the cue.
    // split says whether there was a place.
    bool SplitCue(bool& split);

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
    // The open cue: where it starts, and the characters shown in its sentence before that.
    std::size_t m_cueBegin = 0;
    std::size_t m_cueShown = 0;
    // The characters shown from the sentence's start to the source byte m_counted.
    std::size_t m_counted = 0;
    std::size_t m_shown = 0;
    // The source of the last sounding unit (its end: the furthest of the sentence's units).
    std::size_t m_lastBegin = 0;
    std::size_t m_lastEnd = 0;
    // The last place to split the open cue after a clause, and the last before any word.
    std::optional<Split> m_clauseSplit;
    std::optional<Split> m_wordSplit;
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
