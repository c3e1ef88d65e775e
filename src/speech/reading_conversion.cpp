#include "speech/reading_conversion.h"

#include "dictionary/dic_index.h"
#include "dictionary/dic_tables.h"
#include "speech/kana_folding.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace yomi6 {

namespace {

// Which row's second byte the next unmatched byte is, after a lead byte 0x81-0x83.
enum class Pending { None, Row82, Row83, Row81 };

// Appends whole outputs to the reading and refuses one that would not leave room for the
// terminator.
class ReadingWriter {
public:
    explicit ReadingWriter(unsigned char (&reading)[kReadingBufferSize]) : m_reading(reading) {}

    bool Append(const void* bytes, std::size_t length) {
        if (m_length + length > kReadingBufferSize - 1) {
            return false;
        }
        std::memcpy(m_reading + m_length, bytes, length);
        m_length += length;
        return true;
    }

    std::size_t Length() const { return m_length; }

private:
    unsigned char (&m_reading)[kReadingBufferSize];
    std::size_t m_length = 0;
};

} // namespace

std::size_t ConvertToReading(const unsigned char* text, std::size_t n,
                             unsigned char (&reading)[kReadingBufferSize], DicLookup lookup) {
    // The zero bytes behind the text end every dictionary comparison at the end of the text.
    unsigned char buffer[kTextBufferSize] = {};
    n = std::min(n, kMaxTextBytes);
    if (n > 0) {
        std::memcpy(buffer, text, n);
    }
    std::memset(reading, 0, kReadingBufferSize);

    ReadingWriter out(reading);
    Pending pending = Pending::None;
    std::uint8_t folded[kMaxFoldedBytes];
    std::size_t p = 0;
    while (p < n) {
        const int slot = lookup == DicLookup::Indexed ? FindFirstMatch(buffer + p)
                                                      : LinearFindFirstMatch(buffer + p);
        if (slot >= 0) {
            // A match leaves the pending lead byte as it is: the byte after the word is folded
            // as that lead byte's second byte.
            if (!out.Append(g_dicYomi[slot], ::strnlen(g_dicYomi[slot], kYomiSlotSize - 1))) {
                break;
            }
            p += static_cast<std::size_t>(DicWordLength(slot));
            continue;
        }
        const std::uint8_t b = buffer[p];
        std::size_t length = 0;
        switch (pending) {
        case Pending::None:
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
        if (!out.Append(folded, length)) {
            break;
        }
        ++p;
    }
    return out.Length();
}

} // namespace yomi6
