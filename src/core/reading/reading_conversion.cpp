#include "reading/reading_conversion.h"

#include "dictionary/dic_index.h"
#include "dictionary/dic_tables.h"
#include "reading/kana_folding.h"
#include "reading/reading_writer.h"
#include "text/cp932.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace yomi6 {

namespace {

SourceRange Range(std::size_t begin, std::size_t end) {
    return {static_cast<std::uint16_t>(begin), static_cast<std::uint16_t>(end)};
}

// The output of a two-byte character that no dictionary word starts: rows 0x81, 0x82 and 0x83
// fold by their row; the bytes of every other character (a kanji the dictionary lacks) are
// copied as they are, never read as a letter or a digit.
std::size_t FoldPair(std::uint8_t lead, std::uint8_t second, std::uint8_t* out) {
    switch (lead) {
    case 0x81:
        return FoldRow81(second, out);
    case 0x82:
        return FoldRow82(second, out);
    case 0x83:
        return FoldRow83(second, out);
    default:
        out[0] = lead;
        out[1] = second;
        return 2;
    }
}

} // namespace

std::size_t ConvertToReading(const unsigned char* text, std::size_t n, const DictionaryView& dic,
                             unsigned char (&reading)[kReadingBufferSize]) {
    SourceRange source[kReadingBufferSize];
    return ConvertWithSourceMap(text, n, dic, reading, source).length;
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
    std::uint8_t folded[kMaxFoldedBytes];
    std::size_t p = 0;
    while (p < n) {
        // p is always the first byte of a character: the byte after a lead byte that no word
        // started is that character's second byte, and no word is looked for there.
        const int slot = dic.FirstMatch(buffer + p);
        if (slot >= 0) {
            const std::string_view yomi = dic.Reading(slot);
            const std::size_t end = p + dic.Word(slot).size();
            if (!out.Append(yomi.data(), yomi.size(), Range(p, end))) {
                break;
            }
            p = end;
            continue;
        }
        const std::uint8_t b = buffer[p];
        std::size_t length = 0;
        std::size_t charLength = 1;
        if (!cp932::IsLeadByte(b)) {
            length = FoldSingleByte(b, folded);
        } else if (p + 1 < n) {
            length = FoldPair(b, buffer[p + 1], folded);
            charLength = 2;
        } else if (b < 0x81 || b > 0x83) {
            // A lead byte in the last position of the text: 0x81-0x83 yield nothing, any
            // other is copied.
            length = FoldSingleByte(b, folded);
        }
        if (!out.Append(folded, length, Range(p, p + charLength))) {
            break;
        }
        p += charLength;
    }
    return {out.Length(), p};
}

} // namespace yomi6
