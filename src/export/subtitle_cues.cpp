#include "export/subtitle_cues.h"

#include "export/cue_text.h"
#include "export/sample_unit_pass.h"
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

// Control characters (C0, DEL, C1) stop some subtitle readers (a NUL ends the file for them)
// or show as boxes: blanks among them (tab, line ends, form feed) become spaces, the rest are
// dropped.
std::string WithoutControls(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x20 || c == 0x7F) {
            if (c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r') {
                out.push_back(' ');
            }
        } else if (c == 0xC2 && i + 1 < utf8.size() &&
                   static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) {
            ++i; // U+0080 to U+009F: the second byte is 0x80 to 0x9F
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    return out;
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
        bool ends = false;
        std::size_t length = 1;
        if (cp932::IsLeadByte(c) && i + 1 < end) {
            length = 2;
            ends = cp932::IsWideSentenceEnd(c, static_cast<unsigned char>(text[i + 1]));
        } else if (c == 0xA1) { // ｡
            ends = true;
        } else if (c == '.' || c == '!' || c == '?') {
            const bool last = i + 1 >= end;
            const char after = last ? ' ' : text[i + 1];
            ends = after == ' ' || after == '\t' || after == '\r' || after == '\n';
        }
        i += length;
        if (ends) {
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
    }
    m_lastEndMs = unit.endMs;
    return true;
}

bool SubtitleCueBuilder::Close() {
    if (!m_open) {
        return true;
    }
    m_open = false;
    SubtitleCue cue;
    cue.startMs = m_firstMs;
    cue.endMs = m_lastEndMs;
    cue.sourceBegin = m_sentenceBegin;
    cue.sourceEnd = m_sentenceEnd;
    cue.text = Trimmed(WithoutControls(
        CueText(m_text, m_sentenceBegin, m_sentenceEnd, m_withoutNotation, m_standIns)));
    return cue.text.empty() || m_sink(cue);
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
