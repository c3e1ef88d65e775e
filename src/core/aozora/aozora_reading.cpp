#include "aozora/aozora_reading.h"

#include "text/utf8_codec.h"
#include "text/variant_kanji.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace yomi6 {

namespace {

constexpr char16_t kGeta = 0x3013; // 〓, the character of a gaiji outside the BMP

bool Inside(const NotationRange& r, std::size_t at) {
    return at >= r.begin && at < r.end;
}

// The first code point of UTF-8 text, if it fits in one UTF-16 unit and is no ASCII.
char16_t FirstUnit(std::string_view utf8) {
    const Utf8Char c = FirstUtf8Char(utf8);
    return c.length == 2 || c.length == 3 ? static_cast<char16_t>(c.codePoint) : kGeta;
}

// The code point of character i of source.
char32_t CodePointOf(const SourceText& source, std::size_t i) {
    return FirstUtf8Char(std::string_view(source.utf8).substr(source.Utf8Begin(i))).codePoint;
}

constexpr std::size_t kShortestRecurringBase = 2;

} // namespace

void RubyGlossary::Learn(std::string_view base, std::string_view reading) {
    m_readings.insert_or_assign(std::string(base), std::string(reading));
}

const std::string* RubyGlossary::Find(std::string_view base) const {
    const auto it = m_readings.find(base);
    return it == m_readings.end() ? nullptr : &it->second;
}

void ReadRecurringBases(const SourceText& source, RubyBases& bases, RubyGlossary& glossary) {
    const std::size_t n = source.chars.size();
    const auto kanji = [&](std::size_t i) { return IsRubyBaseKanji(CodePointOf(source, i)); };
    const auto text = [&](std::size_t from, std::size_t to) {
        return std::string_view(source.utf8)
            .substr(source.Utf8Begin(from), source.Utf8Begin(to) - source.Utf8Begin(from));
    };
    for (std::size_t i = 0; i < n;) {
        if (bases.InBase(i)) {
            const std::size_t end = bases.BaseEnd(i);
            std::size_t k = i;
            while (k < end && kanji(k)) {
                ++k;
            }
            if (k == end && end - i >= kShortestRecurringBase) {
                glossary.Learn(text(i, end),
                               bases.reading[static_cast<std::size_t>(bases.rubyOf[i])]);
            }
            i = end;
            continue;
        }
        if (!kanji(i)) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < n && kanji(end) && !bases.InBase(end)) {
            ++end;
        }
        const bool alone = (i == 0 || !kanji(i - 1)) && (end == n || !kanji(end));
        const std::string* reading =
            alone && end - i >= kShortestRecurringBase ? glossary.Find(text(i, end)) : nullptr;
        if (reading != nullptr) {
            bases.rubyOf.resize(n, -1);
            const int ruby = static_cast<int>(bases.reading.size());
            bases.reading.push_back(*reading);
            std::fill(bases.rubyOf.begin() + static_cast<std::ptrdiff_t>(i),
                      bases.rubyOf.begin() + static_cast<std::ptrdiff_t>(end), ruby);
        }
        i = end;
    }
}

std::size_t RubyBases::BaseEnd(std::size_t i) const {
    std::size_t j = i;
    while (j < rubyOf.size() && rubyOf[j] == rubyOf[i]) {
        ++j;
    }
    return j;
}

RubyBases ApplyNotation(const AozoraNotation& notation, SourceText& source) {
    SourceText out;
    RubyBases bases;
    for (const RubyWord& r : notation.ruby) {
        bases.reading.push_back(r.reading);
    }
    std::size_t silent = 0;
    std::size_t gaiji = 0;
    std::size_t ruby = 0;
    for (std::size_t i = 0; i < source.chars.size(); ++i) {
        const SourceChar& c = source.chars[i];
        const std::size_t at = c.begin;
        while (silent < notation.silent.size() && notation.silent[silent].end <= at) {
            ++silent;
        }
        while (gaiji < notation.gaiji.size() && notation.gaiji[gaiji].range.end <= at) {
            ++gaiji;
        }
        while (ruby < notation.ruby.size() && notation.ruby[ruby].base.end <= at) {
            ++ruby;
        }
        SourceChar kept = c;
        std::string_view utf8 = std::string_view(source.utf8)
                                    .substr(c.utf8Begin, source.Utf8Begin(i + 1) - c.utf8Begin);
        if (gaiji < notation.gaiji.size() && Inside(notation.gaiji[gaiji].range, at)) {
            const NotationText& g = notation.gaiji[gaiji];
            const std::size_t length = g.range.end - g.range.begin;
            if (at != g.range.begin || length > std::numeric_limits<std::uint8_t>::max()) {
                continue;
            }
            kept.length = static_cast<std::uint8_t>(length);
            kept.kind = CharKind::Japanese;
            // A traditional form that the analyzer's dictionary lacks is analysed in its common
            // form (鷗 as 鴎), so that 森鷗外 is read; the note's bytes stay its source.
            const std::string_view common = CommonKanjiForm(g.utf8);
            utf8 = common.empty() ? std::string_view(g.utf8) : common;
            kept.ch = FirstUnit(utf8);
        } else if (silent < notation.silent.size() && Inside(notation.silent[silent], at)) {
            continue;
        }
        kept.utf8Begin = static_cast<std::uint32_t>(out.utf8.size());
        out.utf8.append(utf8);
        out.chars.push_back(kept);
        const bool inBase = ruby < notation.ruby.size() && Inside(notation.ruby[ruby].base, at);
        bases.rubyOf.push_back(inBase ? static_cast<int>(ruby) : -1);
    }
    source = std::move(out);
    return bases;
}

namespace {

// The end of the piece of text that starts at begin: its line with the line end, or, in a line
// longer than a SourceText counts, the last character boundary within that count.
std::size_t PieceEnd(std::string_view text, std::size_t begin) {
    constexpr std::size_t kLongest = 60000; // within SourceChar's 16-bit offsets
    const std::size_t newline = text.find('\n', begin);
    const std::size_t lineEnd = newline == std::string_view::npos ? text.size() : newline + 1;
    if (lineEnd - begin <= kLongest) {
        return lineEnd;
    }
    std::size_t at = begin;
    while (true) {
        const auto c = static_cast<unsigned char>(text[at]);
        const std::size_t length = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC) ? 2 : 1;
        if (at + length - begin > kLongest) {
            return at;
        }
        at += length;
    }
}

} // namespace

AozoraNotation WithRecurringRubies(AozoraNotation notation, std::string_view text) {
    RubyGlossary glossary;
    std::vector<RubyWord> recurring;
    for (std::size_t begin = 0; begin < text.size();) {
        const std::size_t end = PieceEnd(text, begin);
        const AozoraNotation local = NotationWithin(notation, begin, end);
        SourceText source;
        DecodeSource(reinterpret_cast<const unsigned char*>(text.data() + begin), end - begin,
                     source);
        RubyBases bases = ApplyNotation(local, source);
        ReadRecurringBases(source, bases, glossary);
        const auto given = static_cast<int>(local.ruby.size());
        for (std::size_t i = 0; i < bases.rubyOf.size();) {
            if (bases.rubyOf[i] < given) {
                ++i;
                continue;
            }
            const std::size_t last = bases.BaseEnd(i) - 1;
            const SourceChar& c = source.chars[last];
            recurring.push_back({{begin + source.chars[i].begin, begin + c.begin + c.length},
                                 bases.reading[static_cast<std::size_t>(bases.rubyOf[i])]});
            i = last + 1;
        }
        begin = end;
    }
    if (!recurring.empty()) {
        std::vector<RubyWord> all;
        all.reserve(notation.ruby.size() + recurring.size());
        std::merge(notation.ruby.begin(), notation.ruby.end(), recurring.begin(), recurring.end(),
                   std::back_inserter(all), [](const RubyWord& a, const RubyWord& b) {
                       return a.base.begin < b.base.begin;
                   });
        notation.ruby = std::move(all);
    }
    return notation;
}

} // namespace yomi6
