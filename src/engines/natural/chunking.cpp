#include "natural/chunking.h"

#include "text/cp932.h"
#include "text/sentence_end.h"

#include <algorithm>

namespace yomi6::natural {

namespace {

enum class Mark { None, SentenceEnd, LineEnd, Comma, Blank };

// The mark of the n-byte character at byte i of text.
Mark MarkAt(std::string_view text, std::size_t i, std::size_t n) {
    if (cp932::SentenceEndLength(text, i) != 0) {
        return Mark::SentenceEnd;
    }
    const std::string_view ch = text.substr(i, n);
    if (ch.size() == 1) {
        switch (static_cast<unsigned char>(ch[0])) {
        case '\r':
        case '\n':
            return Mark::LineEnd;
        case ',':
        case 0xA4: // ､
            return Mark::Comma;
        case ' ':
        case '\t':
            return Mark::Blank;
        default:
            return Mark::None;
        }
    }
    const unsigned code = static_cast<unsigned>(static_cast<unsigned char>(ch[0])) << 8 |
                          static_cast<unsigned char>(ch[1]);
    switch (code) {
    case 0x8141: // 、
    case 0x8143: // ，
        return Mark::Comma;
    case 0x8140: // full-width blank
        return Mark::Blank;
    default:
        return Mark::None;
    }
}

bool HasSpeech(std::string_view text, ByteRange r) {
    for (std::size_t i = r.begin; i < r.end;) {
        const std::size_t n = Cp932CharLength(text, i);
        // A piece of nothing but blanks and punctuation has nothing for the engine to say.
        const bool stopSign = n == 1 && (text[i] == '.' || text[i] == '!' || text[i] == '?');
        if (MarkAt(text, i, n) == Mark::None && !stopSign) {
            return true;
        }
        i += n;
    }
    return false;
}

unsigned CodeOf(std::string_view ch) {
    return ch.size() == 2 ? static_cast<unsigned>(static_cast<unsigned char>(ch[0])) << 8 |
                                static_cast<unsigned char>(ch[1])
                          : 0;
}

// A full-width katakana or a kanji: the start or the body of a content word.
bool IsWordChar(unsigned code) {
    return (code >= 0x8340 && code <= 0x8396) || code >= 0x889F;
}

bool IsParticle(unsigned code) {
    switch (code) {
    case 0x82CD: // は
    case 0x82AA: // が
    case 0x82F0: // を
    case 0x82E0: // も
    case 0x82C9: // に
    case 0x82C5: // で
    case 0x82C6: // と
    case 0x82D6: // へ
        return true;
    default:
        return false;
    }
}

} // namespace

std::size_t Cp932CharLength(std::string_view text, std::size_t i) {
    return cp932::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

std::vector<ByteRange> SplitChunks(std::string_view text, const ChunkLimits& limits,
                                   std::size_t* particleCut, std::span<const ByteRange> keepWhole) {
    // The range of keepWhole that a cut before byte at would fall inside, or null.
    const auto inside = [&](std::size_t at) -> const ByteRange* {
        auto it = std::upper_bound(keepWhole.begin(), keepWhole.end(), at,
                                   [](std::size_t a, const ByteRange& r) { return a <= r.begin; });
        if (it == keepWhole.begin()) {
            return nullptr;
        }
        --it;
        return at < it->end ? &*it : nullptr;
    };
    std::vector<ByteRange> chunks;
    auto emit = [&](std::size_t begin, std::size_t end) {
        if (end > begin && HasSpeech(text, {begin, end})) {
            chunks.push_back({begin, end});
        }
    };
    std::size_t begin = 0;
    std::size_t chars = 0;
    std::size_t lastComma = 0; // the byte after the last comma of the piece, 0: none
    std::size_t lastBlank = 0;
    std::size_t i = 0;
    // The codes of the two characters before i (0: none, or a single byte).
    unsigned before1 = 0;
    unsigned before2 = 0;
    while (i < text.size()) {
        const std::size_t n = Cp932CharLength(text, i);
        const Mark mark = MarkAt(text, i, n);
        const unsigned code = CodeOf(text.substr(i, n));
        if (limits.firstAtParticle && chunks.empty() && chars >= 2 && IsWordChar(code) &&
            IsParticle(before1) && IsWordChar(before2) && inside(i) == nullptr) {
            emit(begin, i);
            if (particleCut != nullptr && !chunks.empty()) {
                *particleCut = i;
            }
            begin = i;
            chars = lastComma = lastBlank = 0;
        }
        before2 = before1;
        before1 = code;
        if (mark == Mark::LineEnd) {
            emit(begin, i);
            i += n;
            begin = i;
            chars = lastComma = lastBlank = 0;
            continue;
        }
        i += n;
        ++chars;
        const ByteRange* within = inside(i);
        if (mark == Mark::SentenceEnd && within == nullptr) {
            emit(begin, i);
            begin = i;
            chars = lastComma = lastBlank = 0;
            continue;
        }
        if (mark == Mark::Comma && within == nullptr) {
            lastComma = i;
        } else if (mark == Mark::Blank && within == nullptr) {
            lastBlank = i;
        }
        const std::size_t limit = chunks.empty() ? limits.firstChars : limits.maxChars;
        if (chars < limit) {
            continue;
        }
        // The first chunk is only cut short at a comma or a blank: a fixed cut there would
        // break a word for no more than a faster start.
        const bool first = chunks.empty() && limit < limits.maxChars;
        std::size_t cut = lastComma != 0 ? lastComma : lastBlank != 0 ? lastBlank : 0;
        if (cut == 0 && !first) {
            cut = i;
        }
        if (cut == 0) {
            if (chars >= limits.maxChars) {
                cut = i;
            } else {
                continue;
            }
        }
        if (within != nullptr && cut == i) {
            // Not inside a piece read whole: before it, or after it when the piece starts there.
            if (within->begin <= begin) {
                continue;
            }
            cut = within->begin;
        }
        emit(begin, cut);
        // Count the characters that follow the cut again as the start of the next piece.
        begin = cut;
        chars = lastComma = lastBlank = 0;
        for (std::size_t j = cut; j < i;) {
            const std::size_t m = Cp932CharLength(text, j);
            const Mark k = MarkAt(text, j, m);
            j += m;
            ++chars;
            if (k == Mark::Comma && inside(j) == nullptr) {
                lastComma = j;
            } else if (k == Mark::Blank && inside(j) == nullptr) {
                lastBlank = j;
            }
        }
    }
    emit(begin, text.size());
    return chunks;
}

} // namespace yomi6::natural
