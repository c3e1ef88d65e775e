#include "natural/alignment.h"

#include "natural/phoneme_kana.h"

#include <algorithm>
#include <optional>

namespace yomi6::natural {

namespace {

// How far past the cursor a surface is looked for: far enough for the signs the engine drops
// between two words, near enough that a common word is not matched in a later sentence.
constexpr std::size_t kSearchWindow = 24;

bool IsNumberWord(const Morpheme& m) {
    return m.partOfSpeech == "名詞,数" || m.surface == "．" || m.surface == "，";
}

bool IsDigitLike(char32_t c) {
    return (c >= '0' && c <= '9') || c == ',' || c == '.';
}

bool IsBlank(char32_t c) {
    return c == ' ';
}

std::u32string Folded(std::string_view surface) {
    std::u32string s = DecodeUtf8Points(surface);
    for (char32_t& c : s) {
        c = FoldChar(c);
    }
    return s;
}

ByteRange SpanOf(const EngineText& text, std::size_t first, std::size_t last) {
    ByteRange r{text.sources[first].begin, text.sources[first].end};
    for (std::size_t k = first; k < last; ++k) {
        r.begin = std::min(r.begin, text.sources[k].begin);
        r.end = std::max(r.end, text.sources[k].end);
    }
    return r;
}

bool IsKatakana(char32_t c) {
    return c >= U'ァ' && c <= U'ー';
}

// A small kana that joins the one before it into one mora (キャ, ティ); ッ and ン are morae
// of their own.
bool JoinsMoraBefore(char32_t c) {
    return c == U'ァ' || c == U'ィ' || c == U'ゥ' || c == U'ェ' || c == U'ォ' || c == U'ャ' ||
           c == U'ュ' || c == U'ョ' || c == U'ヮ';
}

// The source bytes of each mora of the morpheme found at characters [first, last) of the
// text, as PlacedMorpheme::morae says.
std::vector<ByteRange> MoraSources(const EngineText& text, std::size_t first, std::size_t last,
                                   int morae) {
    std::vector<ByteRange> out;
    bool several = false;
    for (std::size_t k = first; k < last; ++k) {
        if (!IsKatakana(text.folded[k]) || k >= text.fromReading.size() || !text.fromReading[k]) {
            return {};
        }
        several = several || !(text.sources[k] == text.sources[first]);
    }
    if (!several) {
        return {};
    }
    for (std::size_t k = first; k < last; ++k) {
        if (k > first && JoinsMoraBefore(text.folded[k])) {
            out.back() = SpanOf(text, k - 1, k + 1);
        } else {
            out.push_back(text.sources[k]);
        }
    }
    if (out.size() != static_cast<std::size_t>(std::max(morae, 0))) {
        return {};
    }
    return out;
}

} // namespace

std::vector<PlacedMorpheme>
PlaceMorphemes(const EngineText& text, const std::vector<Morpheme>& morphemes, ByteRange chunk) {
    const std::size_t count = text.folded.size();
    std::vector<std::optional<ByteRange>> found(morphemes.size());
    // The characters of the text each placed morpheme was found at.
    std::vector<std::optional<std::pair<std::size_t, std::size_t>>> at(morphemes.size());
    std::vector<std::vector<ByteRange>> moraSources(morphemes.size());
    std::size_t cursor = 0;
    std::optional<ByteRange> numberRun;
    for (std::size_t m = 0; m < morphemes.size(); ++m) {
        const std::u32string surface = Folded(morphemes[m].surface);
        bool placed = false;
        if (!surface.empty()) {
            const std::size_t limit = std::min(count, cursor + kSearchWindow);
            for (std::size_t p = cursor; p < limit && p + surface.size() <= count; ++p) {
                if (std::equal(surface.begin(), surface.end(),
                               text.folded.begin() + static_cast<std::ptrdiff_t>(p))) {
                    found[m] = SpanOf(text, p, p + surface.size());
                    at[m] = std::pair(p, p + surface.size());
                    moraSources[m] = MoraSources(text, p, p + surface.size(), morphemes[m].morae);
                    cursor = p + surface.size();
                    placed = true;
                    break;
                }
            }
        }
        if (placed) {
            // A point or comma inside a number is matched as itself and stays in the run.
            if (!(numberRun && IsNumberWord(morphemes[m]))) {
                numberRun.reset();
            }
            continue;
        }
        if (!IsNumberWord(morphemes[m])) {
            numberRun.reset();
            continue;
        }
        if (!numberRun) {
            std::size_t p = cursor;
            while (p < count && IsBlank(text.folded[p])) {
                ++p;
            }
            std::size_t q = p;
            while (q < count && IsDigitLike(text.folded[q])) {
                ++q;
            }
            // A trailing point or comma ends the sentence rather than the number.
            while (q > p && !(text.folded[q - 1] >= '0' && text.folded[q - 1] <= '9')) {
                --q;
            }
            if (q > p) {
                numberRun = SpanOf(text, p, q);
                at[m] = std::pair(p, q);
                cursor = q;
            }
        }
        if (numberRun) {
            found[m] = numberRun;
        }
    }
    // The unplaced take the characters between their placed neighbours (the engine writes a
    // word of the kana it was given in its own form, ニ of ニサンニン as 二), else the bytes
    // between them.
    std::vector<PlacedMorpheme> ranges(morphemes.size());
    std::size_t lastBegin = chunk.begin;
    std::size_t lastEnd = chunk.begin;
    std::size_t lastChar = 0;
    for (std::size_t m = 0; m < morphemes.size(); ++m) {
        if (found[m]) {
            ranges[m] = {*found[m], std::move(moraSources[m])};
            lastBegin = std::max(lastBegin, found[m]->begin);
            lastEnd = std::max(lastEnd, found[m]->end);
            if (at[m]) {
                lastChar = std::max(lastChar, at[m]->second);
            }
            continue;
        }
        std::size_t nextChar = count;
        for (std::size_t k = m + 1; k < morphemes.size(); ++k) {
            if (at[k]) {
                nextChar = at[k]->first;
                break;
            }
        }
        std::size_t first = lastChar;
        std::size_t last = std::min(nextChar, count);
        while (first < last && IsBlank(text.folded[first])) {
            ++first;
        }
        while (last > first && IsBlank(text.folded[last - 1])) {
            --last;
        }
        if (morphemes[m].morae > 0 && first < last && last - first <= kSearchWindow) {
            const ByteRange gap = SpanOf(text, first, last);
            if (gap.begin >= lastBegin) {
                ranges[m].range = gap;
                lastBegin = gap.begin;
                lastEnd = std::max(lastEnd, gap.end);
                continue;
            }
        }
        std::size_t nextBegin = chunk.end;
        for (std::size_t k = m + 1; k < morphemes.size(); ++k) {
            if (found[k]) {
                nextBegin = found[k]->begin;
                break;
            }
        }
        ranges[m].range = {lastEnd, std::max(lastEnd, nextBegin)};
    }
    return ranges;
}

std::vector<AlignedMora> AlignMorae(const Trace& trace, const std::vector<PlacedMorpheme>& placed,
                                    ByteRange chunk) {
    // Each spoken mora's morpheme and its kana, in order.
    struct Slot {
        std::size_t morpheme;
        std::size_t mora; // which of the morpheme's morae
        std::string kana;
    };
    // Only as many slots as there are spoken morae, and the one after the last, are ever looked
    // at: a trace whose morphemes claim more (a spoiled one may claim a thousand on every line)
    // gets no more, so that its size bounds the work and the memory.
    std::size_t spokenMorae = 0;
    for (const TimedMora& mora : trace.morae) {
        spokenMorae += mora.silent ? 0 : 1;
    }
    std::vector<Slot> slots;
    for (std::size_t m = 0; m < trace.morphemes.size() && slots.size() <= spokenMorae; ++m) {
        std::vector<std::string> kana = SplitMorae(trace.morphemes[m].pronunciation);
        for (int k = 0; k < trace.morphemes[m].morae && slots.size() <= spokenMorae; ++k) {
            slots.push_back(
                {m, static_cast<std::size_t>(k),
                 static_cast<std::size_t>(k) < kana.size() &&
                         kana.size() == static_cast<std::size_t>(trace.morphemes[m].morae)
                     ? kana[static_cast<std::size_t>(k)]
                     : std::string()});
        }
    }
    auto rangeOf = [&](std::size_t m) {
        return m < placed.size() ? placed[m].range : ByteRange{chunk.end, chunk.end};
    };
    auto moraRange = [&](const Slot& slot) {
        if (slot.morpheme < placed.size() && slot.mora < placed[slot.morpheme].morae.size()) {
            return placed[slot.morpheme].morae[slot.mora];
        }
        return rangeOf(slot.morpheme);
    };
    std::vector<AlignedMora> out;
    out.reserve(trace.morae.size());
    std::size_t spoken = 0;
    ByteRange lastRange{chunk.begin, chunk.begin};
    for (const TimedMora& mora : trace.morae) {
        AlignedMora a;
        a.start = mora.start;
        a.end = mora.end;
        a.silent = mora.silent;
        if (!mora.silent) {
            if (spoken < slots.size()) {
                a.source = moraRange(slots[spoken]);
                a.kana = slots[spoken].kana;
            } else {
                a.source = lastRange;
            }
            if (a.kana.empty()) {
                a.kana = PhonemeKana(mora.phonemes);
            }
            ++spoken;
            lastRange = a.source;
        } else {
            // The morphemes without morae between the last spoken mora's morpheme and the next
            // one's: the signs this pause was made for.
            const std::size_t from = spoken == 0                 ? 0
                                     : spoken - 1 < slots.size() ? slots[spoken - 1].morpheme + 1
                                                                 : trace.morphemes.size();
            const std::size_t to =
                spoken < slots.size() ? slots[spoken].morpheme : trace.morphemes.size();
            std::optional<ByteRange> signs;
            for (std::size_t m = from; m < to; ++m) {
                if (trace.morphemes[m].morae != 0) {
                    continue;
                }
                const ByteRange r = rangeOf(m);
                if (r.end <= r.begin) {
                    continue;
                }
                signs =
                    signs ? ByteRange{std::min(signs->begin, r.begin), std::max(signs->end, r.end)}
                          : r;
            }
            a.source = signs.value_or(ByteRange{lastRange.end, lastRange.end});
        }
        out.push_back(std::move(a));
    }
    return out;
}

} // namespace yomi6::natural
