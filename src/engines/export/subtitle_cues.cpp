#include "export/subtitle_cues.h"

#include "export/cue_text.h"
#include "export/sample_engine.h"
#include "text/cp932.h"
#include "text/cp932_codec.h"
#include "text/sentence_end.h"
#include "text/utf8_codec.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace yomi6 {

namespace {

// 」 』 ） and the ASCII ) " ' that close a quotation after its sentence end.
std::size_t ClosingLength(std::string_view text, std::size_t i, std::size_t end) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == ')' || c == '"' || c == '\'') {
        return 1;
    }
    if (c == 0x81 && i + 1 < end) {
        const auto t = static_cast<unsigned char>(text[i + 1]);
        if (t == 0x76 || t == 0x78 || t == 0x6A) {
            return 2;
        }
    }
    return 0;
}

bool IsBlankAt(std::string_view s, std::size_t i, std::size_t& length) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') {
        length = 1;
        return true;
    }
    if (s.substr(i, 3) == "\u3000") { // the ideographic space
        length = 3;
        return true;
    }
    return false;
}

// Invisible characters that change how the text around them is shown: the marks and overrides
// of the bidirectional algorithm (U+202E turns the rest of a line around), zero-width spaces
// and joiners of words, the byte order mark, the interlinear annotation signs and the tags.
// The joiners of emoji and scripts (U+200C, U+200D) are kept.
bool IsFormatCharacter(char32_t c) {
    return c == 0x061C || c == 0x200B || c == 0x200E || c == 0x200F ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2060 && c <= 0x2064) ||
           (c >= 0x2066 && c <= 0x206F) || c == 0xFEFF || (c >= 0xFFF9 && c <= 0xFFFB) ||
           c == 0xE0001 || (c >= 0xE0020 && c <= 0xE007F);
}

// The code point of the well-formed UTF-8 sequence of length bytes at s.
char32_t CodePointAt(std::string_view s, std::size_t length) {
    const auto b = [&](std::size_t k) {
        return static_cast<char32_t>(static_cast<unsigned char>(s[k]));
    };
    switch (length) {
    case 2:
        return ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
    case 3:
        return ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
    case 4:
        return ((b(0) & 0x07) << 18) | ((b(1) & 0x3F) << 12) | ((b(2) & 0x3F) << 6) | (b(3) & 0x3F);
    default:
        return b(0);
    }
}

// Control characters (C0, DEL, C1) stop some subtitle readers (a NUL ends the file for them)
// or show as boxes: blanks among them (tab, line ends, form feed) become spaces, the rest are
// dropped, and so are the format characters.
std::string WithoutControls(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t length = Utf8SequenceLength(
            reinterpret_cast<const std::uint8_t*>(utf8.data() + i), utf8.size() - i);
        if (length == 0) {
            out.push_back(utf8[i++]); // no character: kept as it came
            continue;
        }
        const char32_t c = CodePointAt(utf8.substr(i), length);
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) {
            if (c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r') {
                out.push_back(' ');
            }
        } else if (!IsFormatCharacter(c)) {
            out.append(utf8.substr(i, length));
        }
        i += length;
    }
    return out;
}

// Whether code page 932 bytes hold the end of a clause: a comma, colon or semicolon, a closing
// bracket, a dash or an ellipsis, or a blank.
bool HoldsClauseEnd(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (cp932::IsLeadByte(c) && i + 1 < bytes.size()) {
            const auto t = static_cast<unsigned char>(bytes[++i]);
            // 　 、 ， ： ； ） 」 』 】 ― …
            if (c == 0x81 &&
                (t == 0x40 || t == 0x41 || t == 0x43 || t == 0x46 || t == 0x47 || t == 0x6A ||
                 t == 0x76 || t == 0x78 || t == 0x7A || t == 0x5C || t == 0x63)) {
                return true;
            }
        } else if (c == ',' || c == ';' || c == ':' || c == ')' || c == ' ' || c == '\t' ||
                   c == 0xA4 || c == 0xA3) { // ､ ｣
            return true;
        }
    }
    return false;
}

std::size_t CodePointCount(std::string_view utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::string Trimmed(const std::string& utf8) {
    std::size_t begin = 0;
    std::size_t length = 0;
    while (begin < utf8.size() && IsBlankAt(utf8, begin, length)) {
        begin += length;
    }
    std::size_t end = utf8.size();
    while (end > begin) {
        // Blanks are one byte or the three bytes of U+3000.
        if (IsBlankAt(utf8, end - 1, length) && length == 1) {
            --end;
        } else if (end - begin >= 3 && IsBlankAt(utf8, end - 3, length) && length == 3) {
            end -= 3;
        } else {
            break;
        }
    }
    return utf8.substr(begin, end - begin);
}

// SRT has no escapes, and its readers take "<" as the start of a tag, "{\\" as the start of an
// override and a line with "-->" as the next cue's timing line: those three signs are written
// as their full-width forms, which read the same in Japanese text.
void AppendSrtText(std::string& out, std::string_view text) {
    for (const char c : text) {
        switch (c) {
        case '<':
            out += "\uFF1C"; // ＜
            break;
        case '>':
            out += "\uFF1E"; // ＞
            break;
        case '{':
            out += "\uFF5B"; // ｛
            break;
        default:
            out.push_back(c);
        }
    }
}

// WebVTT's own escapes; with ">" escaped no text holds the "-->" of a timing line.
void AppendVttText(std::string& out, std::string_view text) {
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out.push_back(c);
        }
    }
}

} // namespace

std::size_t SentenceEnd(std::string_view text, std::size_t begin, std::size_t end) {
    end = std::min(end, text.size());
    std::size_t i = begin;
    while (i < end) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\n') {
            return i + 1;
        }
        if (c == '\r') {
            return i + 1 < end && text[i + 1] == '\n' ? i + 2 : i + 1;
        }
        const std::size_t ends = cp932::SentenceEndLength(text.substr(0, end), i);
        i += ends != 0 ? ends : cp932::IsLeadByte(c) && i + 1 < end ? 2 : 1;
        if (ends != 0) {
            while (i < end) {
                const std::size_t close = ClosingLength(text, i, end);
                if (close == 0) {
                    break;
                }
                i += close;
            }
            return i;
        }
    }
    return end;
}

SubtitleCueBuilder::SubtitleCueBuilder(std::string_view text, std::size_t from, std::size_t to,
                                       std::int64_t tickMs, Sink sink)
    : m_text(text), m_to(std::min(to, text.size())), m_tickMs(tickMs), m_sink(std::move(sink)),
      m_sentenceBegin(std::min(from, m_to)),
      m_sentenceEnd(SentenceEnd(text, m_sentenceBegin, m_to)) {}

bool SubtitleCueBuilder::Add(const ExportTick& tick) {
    return !tick.unit || Add(SpokenUnitOfTick(tick, m_tickMs));
}

bool SubtitleCueBuilder::Add(const SpokenUnit& unit) {
    if (unit.says.empty()) {
        return true;
    }
    // A pass may start inside a sentence; the sentences follow the text, not the passes.
    while (unit.sourceBegin >= m_sentenceEnd && m_sentenceEnd < m_to) {
        if (!Close()) {
            return false;
        }
        m_sentenceBegin = m_sentenceEnd;
        m_sentenceEnd = SentenceEnd(m_text, m_sentenceBegin, m_to);
    }
    if (!m_open) {
        m_open = true;
        m_firstMs = unit.startMs;
        m_cueBegin = m_counted = m_lastBegin = m_lastEnd = m_sentenceBegin;
        m_cueShown = m_shown = 0;
        m_clauseSplit.reset();
        m_wordSplit.reset();
    } else {
        NoteSplit(unit);
    }
    CountShown(unit.sourceEnd);
    while (unit.endMs - m_firstMs > kMaxCueMs || m_shown - m_cueShown > kMaxCueCharacters) {
        bool split = false;
        if (!SplitCue(split)) {
            return false;
        }
        if (!split) {
            break; // one word too long for a cue: it is shown whole
        }
    }
    m_lastEndMs = unit.endMs;
    m_lastBegin = std::max(m_lastBegin, unit.sourceBegin);
    m_lastEnd = std::max(m_lastEnd, unit.sourceEnd);
    return true;
}

void SubtitleCueBuilder::NoteSplit(const SpokenUnit& unit) {
    // Units of one word share its source: a cue is split only where a word starts.
    if (unit.sourceBegin < m_lastEnd || unit.sourceBegin <= m_cueBegin) {
        return;
    }
    CountShown(unit.sourceBegin);
    const Split split{unit.sourceBegin, m_lastEndMs, unit.startMs, m_shown};
    if (HoldsClauseEnd(m_text.substr(m_lastBegin, unit.sourceBegin - m_lastBegin))) {
        m_clauseSplit = split;
    }
    m_wordSplit = split;
}

bool SubtitleCueBuilder::SplitCue(bool& split) {
    const std::optional<Split> at = m_clauseSplit ? m_clauseSplit : m_wordSplit;
    split = at.has_value();
    if (!split) {
        return true;
    }
    const bool emitted = Emit(m_cueBegin, at->at, m_firstMs, at->endMs);
    m_cueBegin = at->at;
    m_cueShown = at->shown;
    m_firstMs = at->startMs;
    m_clauseSplit.reset();
    if (m_wordSplit && m_wordSplit->at <= at->at) {
        m_wordSplit.reset();
    }
    return emitted;
}

void SubtitleCueBuilder::CountShown(std::size_t end) {
    end = std::min(end, m_sentenceEnd);
    if (end > m_counted) {
        m_shown += CodePointCount(ShownText(m_counted, end));
        m_counted = end;
    }
}

std::string SubtitleCueBuilder::ShownText(std::size_t begin, std::size_t end) const {
    return WithoutControls(CueText(m_text, begin, end, m_withoutNotation, m_standIns));
}

bool SubtitleCueBuilder::Emit(std::size_t begin, std::size_t end, std::int64_t startMs,
                              std::int64_t endMs) {
    SubtitleCue cue;
    cue.startMs = startMs;
    cue.endMs = endMs;
    cue.sourceBegin = begin;
    cue.sourceEnd = end;
    cue.text = Trimmed(ShownText(begin, end));
    return cue.text.empty() || m_sink(cue);
}

bool SubtitleCueBuilder::Close() {
    if (!m_open) {
        return true;
    }
    m_open = false;
    return Emit(m_cueBegin, m_sentenceEnd, m_firstMs, m_lastEndMs);
}

bool SubtitleCueBuilder::Finish() {
    return Close();
}

std::string FormatCueTime(std::int64_t ms, SubtitleFormat format) {
    ms = std::max<std::int64_t>(ms, 0);
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%02lld:%02lld:%02lld%c%03lld",
                  static_cast<long long>(ms / 3600000), static_cast<long long>(ms / 60000 % 60),
                  static_cast<long long>(ms / 1000 % 60), format == SubtitleFormat::Srt ? ',' : '.',
                  static_cast<long long>(ms % 1000));
    return buffer;
}

std::string SubtitleHeader(SubtitleFormat format) {
    return format == SubtitleFormat::WebVtt ? "WEBVTT\n\n" : "";
}

std::string FormatCue(const SubtitleCue& cue, std::int64_t number, SubtitleFormat format) {
    std::string out;
    if (format == SubtitleFormat::Srt) {
        out += std::to_string(number) + "\n";
    }
    out += FormatCueTime(cue.startMs, format) + " --> " + FormatCueTime(cue.endMs, format) + "\n";
    if (format == SubtitleFormat::WebVtt) {
        AppendVttText(out, cue.text);
    } else {
        AppendSrtText(out, cue.text);
    }
    out += "\n\n";
    return out;
}

} // namespace yomi6
