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

std::vector<Char> Decode(std::string_view text) {
    std::vector<Char> out;
    out.reserve(text.size());
    for (std::size_t p = 0; p < text.size();) {
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
        out.push_back(c);
        p = c.end;
    }
    return out;
}

std::vector<Char> Decode(std::u16string_view text) {
    std::vector<Char> out;
    out.reserve(text.size());
    for (std::size_t p = 0; p < text.size();) {
        const char16_t u = text[p];
        Char c{p, p + 1, u};
        if (u >= 0xD800 && u <= 0xDBFF && p + 1 < text.size() && text[p + 1] >= 0xDC00 &&
            text[p + 1] <= 0xDFFF) {
            c.ch = 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (text[p + 1] - 0xDC00);
            c.end = p + 2;
        }
        out.push_back(c);
        p = c.end;
    }
    return out;
}

bool IsKana(char32_t c) {
    return (c >= 0x3041 && c <= 0x3096) || (c >= 0x30A1 && c <= 0x30FA) || c == 0x30FC ||
           c == 0x309D || c == 0x309E || c == 0x30FD || c == 0x30FE;
}

// What a ruby's base may be made of without ｜: kanji and 々 〆 ヶ (and 〇, a kanji numeral).
bool IsBaseKanji(char32_t c) {
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3FFFF) || c == U'々' ||
           c == U'〆' || c == U'ヶ' || c == U'〇';
}

// The lines of a text: characters [begin, end) without the line break, next the first
// character of the following line.
struct Line {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;
};

std::vector<Line> SplitLines(const std::vector<Char>& c) {
    std::vector<Line> lines;
    std::size_t begin = 0;
    for (std::size_t i = 0; i < c.size(); ++i) {
        if (c[i].ch == U'\n') {
            const std::size_t end = i > begin && c[i - 1].ch == U'\r' ? i - 1 : i;
            lines.push_back({begin, end, i + 1});
            begin = i + 1;
        }
    }
    if (begin < c.size()) {
        lines.push_back({begin, c.size(), c.size()});
    }
    return lines;
}

bool StartsWith(const std::vector<Char>& c, const Line& line, std::u32string_view what) {
    if (line.end - line.begin < what.size()) {
        return false;
    }
    for (std::size_t k = 0; k < what.size(); ++k) {
        if (c[line.begin + k].ch != what[k]) {
            return false;
        }
    }
    return true;
}

bool IsDashed(const std::vector<Char>& c, const Line& line) {
    std::size_t dashes = 0;
    for (std::size_t k = line.begin; k < line.end; ++k) {
        if (c[k].ch == U'-' || c[k].ch == U'－') {
            ++dashes;
        } else if (c[k].ch != U' ' && c[k].ch != U'\t') {
            return false;
        }
    }
    return dashes >= kMinDashes;
}

// The explaining block: from a dashed line followed by 【テキスト中に現れる記号について】 to the
// next dashed line, as line indexes [first, last]; first > last without one.
std::pair<std::size_t, std::size_t> FindBlock(const std::vector<Char>& c,
                                              const std::vector<Line>& lines) {
    for (std::size_t l = 0; l + 2 < lines.size(); ++l) {
        if (!IsDashed(c, lines[l]) || !StartsWith(c, lines[l + 1], kBlockTitle)) {
            continue;
        }
        for (std::size_t e = l + 2; e < lines.size(); ++e) {
            if (IsDashed(c, lines[e])) {
                return {l, e};
            }
        }
        break;
    }
    return {1, 0};
}

std::size_t FindColophonLine(const std::vector<Char>& c, const std::vector<Line>& lines) {
    for (std::size_t l = 0; l < lines.size(); ++l) {
        if (StartsWith(c, lines[l], kColophon)) {
            return l;
        }
    }
    return npos;
}

// The ］ that closes the ［ at open within [open, end), nested brackets counted; npos if none.
std::size_t NoteClose(const std::vector<Char>& c, std::size_t open, std::size_t end) {
    int depth = 0;
    for (std::size_t k = open; k < end; ++k) {
        if (c[k].ch == kNoteOpen) {
            ++depth;
        } else if (c[k].ch == kNoteClose && --depth == 0) {
            return k;
        }
    }
    return npos;
}

std::size_t Find(const std::vector<Char>& c, char32_t what, std::size_t from, std::size_t end) {
    for (std::size_t k = from; k < end; ++k) {
        if (c[k].ch == what) {
            return k;
        }
    }
    return npos;
}

bool IsNoteAt(const std::vector<Char>& c, std::size_t k, std::size_t end) {
    return k + 1 < end && c[k].ch == kNoteOpen && c[k + 1].ch == kNoteMark;
}

class Parser {
public:
    explicit Parser(std::vector<Char> chars) : m_c(std::move(chars)) {}

    AozoraNotation Run() {
        const std::vector<Line> lines = SplitLines(m_c);
        const auto [first, last] = FindBlock(m_c, lines);
        if (first <= last) {
            Silent(lines[first].begin, lines[last].next);
        }
        const std::size_t colophon = FindColophonLine(m_c, lines);
        for (std::size_t l = 0; l < lines.size() && l < colophon; ++l) {
            if (first <= last && l >= first && l <= last) {
                continue;
            }
            ParseLine(lines[l].begin, lines[l].end);
        }
        if (colophon != npos) {
            Silent(lines[colophon].begin, m_c.size());
        }
        Normalize();
        return std::move(m_out);
    }

    // Whether the text holds notation, looking no further than the first sign of it.
    bool Detect() {
        const std::vector<Line> lines = SplitLines(m_c);
        const auto [first, last] = FindBlock(m_c, lines);
        if (first <= last || FindColophonLine(m_c, lines) != npos) {
            return true;
        }
        for (const Line& line : lines) {
            ParseLine(line.begin, line.end);
            if (!m_out.ruby.empty() || m_notes > 0) {
                return true;
            }
        }
        return false;
    }

private:
    // Characters [from, to) silent.
    void Silent(std::size_t from, std::size_t to) {
        if (from < to) {
            m_out.silent.push_back({m_c[from].begin, m_c[to - 1].end});
        }
    }

    void ParseLine(std::size_t begin, std::size_t end) {
        std::size_t bar = npos;
        m_gaijiAt.clear();
        for (std::size_t k = begin; k < end;) {
            const char32_t ch = m_c[k].ch;
            if (ch == kGaijiMark && IsNoteAt(m_c, k + 1, end)) {
                if (const std::size_t close = NoteClose(m_c, k + 1, end); close != npos) {
                    Gaiji(k, close);
                    k = close + 1;
                    continue;
                }
            }
            if (IsNoteAt(m_c, k, end)) {
                if (const std::size_t close = NoteClose(m_c, k, end); close != npos) {
                    Silent(k, close + 1);
                    ++m_notes;
                    k = close + 1;
                    continue;
                }
            }
            if (ch == kBar) {
                bar = k;
            } else if (ch == kRubyOpen) {
                if (const std::size_t close = Find(m_c, kRubyClose, k + 1, end); close != npos) {
                    Ruby(bar, k, close);
                    bar = npos;
                    k = close + 1;
                    continue;
                }
            } else if (ch == kAccentOpen) {
                if (const std::size_t close = Find(m_c, kAccentClose, k + 1, end);
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
        for (const auto& [mark, close] : m_gaijiAt) {
            if (close == k) {
                return mark;
            }
        }
        return npos;
    }

    // 《…》 from open to close, its base after bar (when there is one) or the kanji before it.
    void Ruby(std::size_t bar, std::size_t open, std::size_t close) {
        std::string reading;
        bool kana = false;
        for (std::size_t k = open + 1; k < close; ++k) {
            if (IsNoteAt(m_c, k, close)) { // a note inside the ruby is no part of it
                const std::size_t end = NoteClose(m_c, k, close);
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
                if (IsBaseKanji(m_c[base - 1].ch)) {
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

    std::vector<Char> m_c;
    AozoraNotation m_out;
    std::size_t m_notes = 0;
    std::vector<std::pair<std::size_t, std::size_t>> m_gaijiAt; // this line's gaiji characters
};

template <typename Text> std::size_t ColophonOf(Text text) {
    const std::vector<Char> c = Decode(text);
    const std::vector<Line> lines = SplitLines(c);
    const std::size_t line = FindColophonLine(c, lines);
    return line == npos ? npos : c[lines[line].begin].begin;
}

bool InRanges(const std::vector<NotationRange>& ranges, std::size_t at) {
    const auto it = std::upper_bound(
        ranges.begin(), ranges.end(), at,
        [](std::size_t offset, const NotationRange& r) { return offset < r.begin; });
    return it != ranges.begin() && at < std::prev(it)->end;
}

const NotationText* StartingAt(const std::vector<NotationText>& texts, std::size_t at) {
    for (const NotationText& t : texts) {
        if (t.range.begin == at) {
            return &t;
        }
    }
    return nullptr;
}

} // namespace

AozoraNotation ParseAozoraNotation(std::string_view text) {
    return Parser(Decode(text)).Run();
}

bool LooksLikeAozora(std::string_view text) {
    return Parser(Decode(text)).Detect();
}

bool LooksLikeAozora(std::u16string_view text) {
    return Parser(Decode(text)).Detect();
}

std::size_t FindColophon(std::string_view text) {
    return ColophonOf(text);
}

std::size_t FindColophon(std::u16string_view text) {
    return ColophonOf(text);
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
    const std::vector<Char> c = Decode(text);
    const std::vector<Line> lines = SplitLines(c);
    const auto [first, last] = FindBlock(c, lines);
    if (first > last) {
        return begin;
    }
    const std::size_t from = c[lines[first].begin].begin;
    const std::size_t to = lines[last].next < c.size() ? c[lines[last].next].begin : text.size();
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
    const std::vector<Char> chars = Decode(text);
    std::string out;
    for (std::size_t k = 0; k < chars.size(); ++k) {
        const Char& c = chars[k];
        const NotationText* shown = StartingAt(notation.accented, c.begin);
        if (shown == nullptr) {
            shown = StartingAt(notation.gaiji, c.begin);
        }
        if (shown == nullptr && !InRanges(notation.silent, c.begin)) {
            shown = StartingAt(shownAs, c.begin);
        }
        if (shown != nullptr) {
            out += shown->utf8;
            while (k + 1 < chars.size() && chars[k + 1].begin < shown->range.end) {
                ++k;
            }
            continue;
        }
        const bool crBeforeLf = c.ch == U'\r' && k + 1 < chars.size() && chars[k + 1].ch == U'\n';
        if (!crBeforeLf && !InRanges(notation.silent, c.begin)) {
            AppendUtf8(out, c.ch);
        }
    }
    return out;
}

} // namespace yomi6
