#include "speech/reading_conversion.h"

#include "dictionary/dic_index.h"
#include "dictionary/dic_tables.h"
#include "speech/kana_folding.h"
#include "speech/reading_writer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace yomi6 {

namespace {

// Which row's second byte the next unmatched byte is, after a lead byte 0x81-0x83.
enum class Pending { None, Row82, Row83, Row81 };

SourceRange Range(std::size_t begin, std::size_t end) {
    return {static_cast<std::uint16_t>(begin), static_cast<std::uint16_t>(end)};
}

} // namespace

std::size_t ConvertToReading(const unsigned char* text, std::size_t n,
                             unsigned char (&reading)[kReadingBufferSize], DicLookup lookup) {
    SourceRange source[kReadingBufferSize];
    return ConvertWithSourceMap(text, n, ProcessDictionary(lookup), reading, source).length;
}

ReadingResult ConvertWithSourceMap(const unsigned char* text, std::size_t n,
                                   const DictionaryView& dic,
                                   unsigned char (&reading)[kReadingBufferSize],
                                   SourceRange (&source)[kReadingBufferSize]) {
    // The zero bytes behind the text end every dictionary comparison at the end of the text.
    unsigned char buffer[kTextBufferSize] = {};
    n = std::min(n, kMaxTextBytes);
    if (n > 0) {
        std::memcpy(buffer, text, n);
    }
    std::memset(reading, 0, kReadingBufferSize);
    std::memset(static_cast<void*>(source), 0, sizeof source);

    ReadingWriter out(reading, source);
    Pending pending = Pending::None;
    // Where the character being folded began: its lead byte, or the byte itself. A dictionary
    // match between a lead byte and its second byte moves it past the match, so that ranges
    // never overlap.
    std::size_t charStart = 0;
    std::uint8_t folded[kMaxFoldedBytes];
    std::size_t p = 0;
    while (p < n) {
        const int slot = dic.FirstMatch(buffer + p);
        if (slot >= 0) {
            // A match leaves the pending lead byte as it is: the byte after the word is folded
            // as that lead byte's second byte.
            const std::string_view yomi = dic.Reading(slot);
            const std::size_t end = p + dic.Word(slot).size();
            if (!out.Append(yomi.data(), yomi.size(), Range(p, end))) {
                break;
            }
            p = end;
            charStart = p;
            continue;
        }
        const std::uint8_t b = buffer[p];
        std::size_t length = 0;
        switch (pending) {
        case Pending::None:
            charStart = p;
            if (b == 0x82) {
                pending = Pending::Row82;
            } else if (b == 0x83) {
                pending = Pending::Row83;
            } else if (b == 0x81) {
                pending = Pending::Row81;
            } else {
                length = FoldSingleByte(b, folded);
            }
            break;
        case Pending::Row82:
            length = FoldRow82(b, folded);
            pending = Pending::None;
            break;
        case Pending::Row83:
            length = FoldRow83(b, folded);
            pending = Pending::None;
            break;
        case Pending::Row81:
            length = FoldRow81(b, folded);
            pending = Pending::None;
            break;
        }
        if (!out.Append(folded, length, Range(charStart, p + 1))) {
            break;
        }
        ++p;
    }
    return {out.Length(), p};
}

} // namespace yomi6
