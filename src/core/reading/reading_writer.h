// Appends whole outputs to a reading together with the source range each came from, and
// refuses an output that would not leave room for the terminator.
#pragma once

#include "reading/reading_conversion.h"
#include "reading/source_range.h"

#include <cstddef>
#include <cstring>

namespace yomi6 {

class ReadingWriter {
public:
    ReadingWriter(unsigned char (&bytes)[kReadingBufferSize],
                  SourceRange (&source)[kReadingBufferSize])
        : m_bytes(bytes), m_source(source) {}

    // Appends length bytes, each mapped to range; false (nothing written) when they do not fit.
    bool Append(const void* bytes, std::size_t length, SourceRange range) {
        if (!Fits(length)) {
            return false;
        }
        std::memcpy(m_bytes + m_length, bytes, length);
        for (std::size_t i = 0; i < length; ++i) {
            m_source[m_length + i] = range;
        }
        m_length += length;
        return true;
    }

    bool Fits(std::size_t length) const { return m_length + length <= kReadingBufferSize - 1; }
    std::size_t Length() const { return m_length; }
    const unsigned char* Bytes() const { return m_bytes; }

    // Drops everything after the first length bytes (a word that turned out not to fit).
    void Truncate(std::size_t length) {
        if (length < m_length) {
            std::memset(m_bytes + length, 0, m_length - length);
            std::memset(static_cast<void*>(m_source + length), 0,
                        (m_length - length) * sizeof(SourceRange));
            m_length = length;
        }
    }

private:
    unsigned char (&m_bytes)[kReadingBufferSize];
    SourceRange (&m_source)[kReadingBufferSize];
    std::size_t m_length = 0;
};

} // namespace yomi6
