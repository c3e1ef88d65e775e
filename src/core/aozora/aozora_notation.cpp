#include "aozora/aozora_notation.h"

#include "aozora/aozora_accents.h"
#include "aozora/aozora_gaiji.h"
#include "text/cp932.h"
#include "text/cp932_table.h"
#include "text/utf8_codec.h"

#include <algorithm>

namespace yomi6 {

namespace {

constexpr std::size_t npos = std::string_view::npos;
constexpr std::size_t kMinDashes = 10; // a dashed line: this many '-' or more, nothing else

constexpr char32_t kBar = U'｜';
constexpr char32_t kRubyOpen = U'《';
constexpr char32_t kRubyClose = U'》';
constexpr char32_t kNoteOpen = U'［';
constexpr char32_t kNoteClose = U'］';
constexpr char32_t kNoteMark = U'＃';
constexpr char32_t kGaijiMark = U'※';
constexpr char32_t kAccentOpen = U'〔';
constexpr char32_t kAccentClose = U'〕';
constexpr std::u32string_view kBlockTitle = U"【テキスト中に現れる記号について】";
constexpr std::u32string_view kColophon = U"底本：";

// One character of the text and where it lies (bytes or UTF-16 units).
struct Char {
    std::size_t begin = 0;
    std::size_t end = 0;
    char32_t ch = 0;
};

// The character that starts at p.
Char CharAt(std::string_view text, std::size_t p) {
    const auto b = static_cast<std::uint8_t>(text[p]);
    Char c{p, p + 1, 0};
    if (cp932::IsLeadByte(b) && p + 1 < text.size() &&
        cp932::IsTrailByte(static_cast<std::uint8_t>(text[p + 1]))) {
        const auto t = static_cast<std::uint8_t>(text[p + 1]);
        c.ch = cp932::kDoubleByteChars[cp932::LeadRow(b)][t - cp932::kFirstTrailByte];
        c.end = p + 2;
    } else {
        c.ch = cp932::kSingleByteChars[b];
    }
    if (c.ch == cp932::kNoChar) {
        c.ch = 0xFFFD;
    }
    return c;
}

Char CharAt(std::u16string_view text, std::size_t p) {
    const char16_t u = text[p];
    Char c{p, p + 1, u};
    if (u >= 0xD800 && u <= 0xDBFF && p + 1 < text.size() && text[p + 1] >= 0xDC00 &&
        text[p + 1] <= 0xDFFF) {
        c.ch = 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (text[p + 1] - 0xDC00);
        c.end = p + 2;
    }
    return c;
}

// The characters of text[begin, end), appended to out.
template <typename Text>
void Decode(Text text, std::size_t begin, std::size_t end, std::vector<Char>& out) {
    for (std::size_t p = begin; p < end;) {
        out.push_back(CharAt(text, p));
        p = out.back().end;
    }
}

bool IsKana(char32_t c) {
    return (c >= 0x3041 && c <= 0x3096) || (c >= 0x30A1 && c <= 0x30FA) || c == 0x30FC ||
           c == 0x309D || c == 0x309E || c == 0x30FD || c == 0x30FE;
}

// A line of a text: [begin, end) without the line break, next where the following line
// starts (bytes or UTF-16 units). A line feed is never part of a two-byte character.
struct Line {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;
};

// The line that starts at begin (< text.size()).
template <typename Text> Line LineAt(Text text, std::size_t begin) {
    const std::size_t lf = text.find(static_cast<typename Text::value_type>('\n'), begin);
    if (lf == npos) {
        return {begin, text.size(), text.size()};
    }
    const std::size_t end = lf > begin && text[lf - 1] == '\r' ? lf - 1 : lf;
    return {begin, end, lf + 1};
}

template <typename Text> bool StartsWith(Text text, const Line& line, std::u32string_view what) {
    std::size_t p = line.begin;
    for (const char32_t expected : what) {
        if (p >= line.end) {
            return false;
        }
        const Char c = CharAt(text, p);
        if (c.ch != expected) {
            return false;
        }
        p = c.end;
    }
    return true;
}

template <typename Text> bool IsDashed(Text text, const Line& line) {
    std::size_t dashes = 0;
    for (std::size_t p = line.begin; p < line.end;) {
        const Char c = CharAt(text, p);
        if (c.ch == U'-' || c.ch == U'－') {
            ++dashes;
        } else if (c.ch != U' ' && c.ch != U'\t') {
            return false;
        }
        p = c.end;
    }
    return dashes >= kMinDashes;
}

// The explaining block: from a dashed line followed by 【テキスト中に現れる記号について】 to the
// next dashed line, as [the first line's start, the start of the line after the last); empty
// without one.
template <typename Text> std::pair<std::size_t, std::size_t> FindBlock(Text text) {
    for (std::size_t at = 0; at < text.size();) {
        const Line line = LineAt(text, at);
        at = line.next;
        if (at >= text.size() || !IsDashed(text, line) ||
            !StartsWith(text, LineAt(text, at), kBlockTitle)) {
            continue;
        }
        for (std::size_t e = LineAt(text, at).next; e < text.size();) {
            const Line closing = LineAt(text, e);
            if (IsDashed(text, closing)) {
                return {line.begin, closing.next};
            }
            e = closing.next;
        }
        break;
    }
    return {0, 0};
}

// Where the first line that starts with 底本： starts, npos without one.
template <typename Text> std::size_t FindColophonLine(Text text) {
    for (std::size_t at = 0; at < text.size();) {
        const Line line = LineAt(text, at);
        if (StartsWith(text, line, kColophon)) {
            return line.begin;
        }
        at = line.next;
    }
    return npos;
}

// The first character with a given mark at or after a position of one line. Positions asked
// for only grow, so a line is looked through once however many opening marks it holds.
class NextMark {
public:
    explicit NextMark(char32_t mark) : m_mark(mark) {}
    void Reset() { m_known = false; }

    // The mark's index in c[from, end), npos when none; end stays the same until Reset.
    std::size_t Find(const std::vector<Char>& c, std::size_t from, std::size_t end) {
        if (!m_known || from < m_from || from > m_at) {
            std::size_t k = from;
            while (k < end && c[k].ch != m_mark) {
                ++k;
            }
            m_known = true;
            m_from = from;
            m_at = k;
        }
        return m_at < end ? m_at : npos;
    }

private:
    char32_t m_mark;
    bool m_known = false;
    std::size_t m_from = 0;
    std::size_t m_at = 0; // the first mark at or after m_from, or the line's end
};

template <typename Text> class Parser {
public:
    explicit Parser(Text text) : m_text(text) {}

    AozoraNotation Run() {
        const auto [blockBegin, blockEnd] = FindBlock(m_text);
        const std::size_t colophon = FindColophonLine(m_text);
        for (std::size_t at = 0; at < m_text.size() && at < colophon;) {
            const Line line = LineAt(m_text, at);
            if (line.begin < blockBegin || line.begin >= blockEnd) {
                ParseLine(line);
            }
            at = line.next;
        }
        if (blockBegin < blockEnd) {
            m_out.silent.push_back({blockBegin, blockEnd});
        }
        if (colophon != npos) {
            m_out.silent.push_back({colophon, m_text.size()});
        }
        Normalize();
        return std::move(m_out);
    }

    // Whether the text holds notation, looking no further than the first sign of it.
    bool Detect() {
        const auto [blockBegin, blockEnd] = FindBlock(m_text);
        if (blockBegin < blockEnd || FindColophonLine(m_text) != npos) {
            return true;
        }
        for (std::size_t at = 0; at < m_text.size();) {
            const Line line = LineAt(m_text, at);
            ParseLine(line);
            if (!m_out.ruby.empty() || m_notes > 0) {
                return true;
            }
            at = line.next;
        }
        return false;
    }

private:
    // Characters [from, to) of the line silent.
    void Silent(std::size_t from, std::size_t to) {
        if (from < to) {
            m_out.silent.push_back({m_c[from].begin, m_c[to - 1].end});
        }
    }

    // The ］ that closes each ［ of the line, nested brackets counted (npos where none does).
    void MatchNotes() {
        m_close.assign(m_c.size(), npos);
        m_open.clear();
        for (std::size_t k = 0; k < m_c.size(); ++k) {
            if (m_c[k].ch == kNoteOpen) {
                m_open.push_back(k);
            } else if (m_c[k].ch == kNoteClose && !m_open.empty()) {
                m_close[m_open.back()] = k;
                m_open.pop_back();
            }
        }
    }

    // The ］ that closes the ［ at open before end, npos if none.
    std::size_t NoteClose(std::size_t open, std::size_t end) const {
        return m_close[open] < end ? m_close[open] : npos;
    }

    bool IsNoteAt(std::size_t k, std::size_t end) const {
        return k + 1 < end && m_c[k].ch == kNoteOpen && m_c[k + 1].ch == kNoteMark;
    }

    void ParseLine(const Line& line) {
        m_c.clear();
        Decode(m_text, line.begin, line.end, m_c);
        MatchNotes();
        m_rubyClose.Reset();
        m_accentClose.Reset();
        m_gaijiAt.clear();
        const std::size_t end = m_c.size();
        std::size_t bar = npos;
        for (std::size_t k = 0; k < end;) {
            const char32_t ch = m_c[k].ch;
            if (ch == kGaijiMark && IsNoteAt(k + 1, end)) {
                if (const std::size_t close = NoteClose(k + 1, end); close != npos) {
                    Gaiji(k, close);
                    k = close + 1;
                    continue;
                }
            }
            if (IsNoteAt(k, end)) {
                if (const std::size_t close = NoteClose(k, end); close != npos) {
                    Silent(k, close + 1);
                    ++m_notes;
                    k = close + 1;
                    continue;
                }
            }
            if (ch == kBar) {
                bar = k;
            } else if (ch == kRubyOpen) {
                if (const std::size_t close = m_rubyClose.Find(m_c, k + 1, end); close != npos) {
                    Ruby(bar, k, close);
                    bar = npos;
                    k = close + 1;
                    continue;
                }
            } else if (ch == kAccentOpen) {
                if (const std::size_t close = m_accentClose.Find(m_c, k + 1, end);
                    close != npos && Accent(k, close)) {
                    k = close + 1;
                    continue;
                }
            }
            ++k;
        }
    }

    // ※［＃…］ from mark to close: its character when the note names one, else silent.
    void Gaiji(std::size_t mark, std::size_t close) {
        ++m_notes;
        std::string note;
        for (std::size_t k = mark + 3; k < close; ++k) {
            AppendUtf8(note, m_c[k].ch);
        }
        std::string character = GaijiCharacter(note);
        if (character.empty()) {
            Silent(mark, close + 1);
            return;
        }
        m_out.gaiji.push_back({{m_c[mark].begin, m_c[close].end}, std::move(character)});
        m_gaijiAt.push_back({mark, close});
    }

    // The first character of the gaiji that ends with character k, npos when none does.
    std::size_t GaijiEndingAt(std::size_t k) const {
        // Found in the order of the line: sorted by their ends.
        const auto it = std::lower_bound(m_gaijiAt.begin(), m_gaijiAt.end(), k,
                                         [](const std::pair<std::size_t, std::size_t>& g,
                                            std::size_t at) { return g.second < at; });
        return it != m_gaijiAt.end() && it->second == k ? it->first : npos;
    }

    // 《…》 from open to close, its base after bar (when there is one) or the kanji before it.
    void Ruby(std::size_t bar, std::size_t open, std::size_t close) {
        std::string reading;
        bool kana = false;
        for (std::size_t k = open + 1; k < close; ++k) {
            if (IsNoteAt(k, close)) { // a note inside the ruby is no part of it
                const std::size_t end = NoteClose(k, close);
                if (end != npos) {
                    k = end;
                    continue;
                }
            }
            kana = kana || IsKana(m_c[k].ch);
            AppendUtf8(reading, m_c[k].ch);
        }
        Silent(open, close + 1);
        std::size_t base = open;
        if (bar != npos) {
            Silent(bar, bar + 1);
            base = bar + 1;
        } else {
            while (base > 0) {
                if (IsRubyBaseKanji(m_c[base - 1].ch)) {
                    --base;
                } else if (const std::size_t mark = GaijiEndingAt(base - 1); mark != npos) {
                    base = mark;
                } else {
                    break;
                }
            }
        }
        if (base < open && kana) {
            m_out.ruby.push_back({{m_c[base].begin, m_c[open - 1].end}, std::move(reading)});
        }
    }

    // 〔…〕 from open to close when it holds Latin text: the brackets and the accent marks
    // silent, each accented letter shown as such. False when it holds anything else.
    bool Accent(std::size_t open, std::size_t close) {
        std::string ascii;
        bool letter = false;
        for (std::size_t k = open + 1; k < close; ++k) {
            const char32_t ch = m_c[k].ch;
            if (ch < 0x20 || ch > 0x7E || m_c[k].end - m_c[k].begin != 1) {
                return false;
            }
            letter = letter || (ch >= U'A' && ch <= U'Z') || (ch >= U'a' && ch <= U'z');
            ascii.push_back(static_cast<char>(ch));
        }
        if (!letter) {
            return false;
        }
        Silent(open, open + 1);
        for (std::size_t i = 0; i < ascii.size();) {
            const AccentMatch match = MatchAccent(std::string_view(ascii).substr(i));
            if (match.length == 0) {
                ++i;
                continue;
            }
            const std::size_t first = open + 1 + i;
            Silent(first + match.kept, first + match.length);
            std::string shown;
            AppendUtf8(shown, match.shown);
            m_out.accented.push_back(
                {{m_c[first].begin, m_c[first + match.length - 1].end}, std::move(shown)});
            i += match.length;
        }
        Silent(close, close + 1);
        return true;
    }

    // The silent ranges sorted and merged.
    void Normalize() {
        auto& s = m_out.silent;
        std::sort(s.begin(), s.end(),
                  [](const NotationRange& a, const NotationRange& b) { return a.begin < b.begin; });
        std::vector<NotationRange> merged;
        for (const NotationRange& r : s) {
            if (!merged.empty() && r.begin <= merged.back().end) {
                merged.back().end = std::max(merged.back().end, r.end);
            } else {
                merged.push_back(r);
            }
        }
        s = std::move(merged);
    }

    Text m_text;
    AozoraNotation m_out;
    std::size_t m_notes = 0;
    // The line being parsed: its characters, the ］ closing each ［, the ［ still open while
    // they are matched, where the next 》 and 〕 are, and its gaiji characters.
    std::vector<Char> m_c;
    std::vector<std::size_t> m_close;
    std::vector<std::size_t> m_open;
    NextMark m_rubyClose{kRubyClose};
    NextMark m_accentClose{kAccentClose};
    std::vector<std::pair<std::size_t, std::size_t>> m_gaijiAt;
};

bool InRanges(const std::vector<NotationRange>& ranges, std::size_t at) {
    const auto it = std::upper_bound(
        ranges.begin(), ranges.end(), at,
        [](std::size_t offset, const NotationRange& r) { return offset < r.begin; });
    return it != ranges.begin() && at < std::prev(it)->end;
}

// The text of texts (sorted, never overlapping) that starts at at, looked for from next on;
// next moves past the texts that end before at.
const NotationText* StartingAt(const std::vector<NotationText>& texts, std::size_t& next,
                               std::size_t at) {
    while (next < texts.size() && texts[next].range.begin < at) {
        ++next;
    }
    return next < texts.size() && texts[next].range.begin == at ? &texts[next] : nullptr;
}

} // namespace

bool IsRubyBaseKanji(char32_t c) {
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3FFFF) || c == U'々' ||
           c == U'〆' || c == U'ヶ' || c == U'〇';
}

AozoraNotation ParseAozoraNotation(std::string_view text) {
    return Parser(text).Run();
}

AozoraNotation ParseAozoraNotation(std::u16string_view text) {
    return Parser(text).Run();
}

bool LooksLikeAozora(std::string_view text) {
    return Parser(text).Detect();
}

bool LooksLikeAozora(std::u16string_view text) {
    return Parser(text).Detect();
}

std::size_t FindColophon(std::string_view text) {
    return FindColophonLine(text);
}

std::size_t FindColophon(std::u16string_view text) {
    return FindColophonLine(text);
}

bool ReadsAsAozora(AozoraMode mode, std::string_view text) {
    return mode == AozoraMode::On || (mode == AozoraMode::Auto && LooksLikeAozora(text));
}

bool ReadsAsAozora(AozoraMode mode, std::u16string_view text) {
    return mode == AozoraMode::On || (mode == AozoraMode::Auto && LooksLikeAozora(text));
}

std::size_t AozoraReadStart(bool aozora, std::u16string_view text, std::size_t begin) {
    if (!aozora) {
        return begin;
    }
    const auto [from, to] = FindBlock(text);
    return begin >= from && begin < to ? to : begin;
}

std::size_t AozoraReadEnd(bool aozora, std::string_view text, std::size_t end) {
    return aozora ? std::min(end, FindColophon(text)) : end;
}

std::size_t AozoraReadEnd(bool aozora, std::u16string_view text, std::size_t end) {
    return aozora ? std::min(end, FindColophon(text)) : end;
}

std::string NotationFreeText(std::string_view text, const std::vector<NotationText>& shownAs) {
    const AozoraNotation notation = ParseAozoraNotation(text);
    std::string out;
    std::size_t accented = 0;
    std::size_t gaiji = 0;
    std::size_t standIn = 0;
    for (std::size_t p = 0; p < text.size();) {
        const Char c = CharAt(text, p);
        const NotationText* shown = StartingAt(notation.accented, accented, c.begin);
        if (shown == nullptr) {
            shown = StartingAt(notation.gaiji, gaiji, c.begin);
        }
        if (shown == nullptr && !InRanges(notation.silent, c.begin)) {
            shown = StartingAt(shownAs, standIn, c.begin);
        }
        if (shown != nullptr) {
            out += shown->utf8;
            p = shown->range.end;
            continue;
        }
        const bool crBeforeLf = c.ch == U'\r' && c.end < text.size() && text[c.end] == '\n';
        if (!crBeforeLf && !InRanges(notation.silent, c.begin)) {
            AppendUtf8(out, c.ch);
        }
        p = c.end;
    }
    return out;
}

AozoraNotation NotationWithin(const AozoraNotation& notation, std::size_t begin, std::size_t end) {
    AozoraNotation out;
    const auto local = [&](NotationRange r) {
        return NotationRange{std::max(r.begin, begin) - begin, std::min(r.end, end) - begin};
    };
    auto silent =
        std::lower_bound(notation.silent.begin(), notation.silent.end(), begin,
                         [](const NotationRange& r, std::size_t at) { return r.end <= at; });
    for (; silent != notation.silent.end() && silent->begin < end; ++silent) {
        out.silent.push_back(local(*silent));
    }
    auto ruby =
        std::lower_bound(notation.ruby.begin(), notation.ruby.end(), begin,
                         [](const RubyWord& r, std::size_t at) { return r.base.begin < at; });
    for (; ruby != notation.ruby.end() && ruby->base.end <= end; ++ruby) {
        out.ruby.push_back({local(ruby->base), ruby->reading});
    }
    auto gaiji =
        std::lower_bound(notation.gaiji.begin(), notation.gaiji.end(), begin,
                         [](const NotationText& g, std::size_t at) { return g.range.begin < at; });
    for (; gaiji != notation.gaiji.end() && gaiji->range.end <= end; ++gaiji) {
        out.gaiji.push_back({local(gaiji->range), gaiji->utf8});
    }
    return out;
}

} // namespace yomi6
