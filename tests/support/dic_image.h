// A dictionary file's bytes built record by record, for tests.
#pragma once

#include "dictionary/dic_tables.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace yomi6::test {

class DicImage {
public:
    DicImage() : m_bytes(kDicImageSize, '\0') {}
    DicImage& Record(int n, const std::string& word, const std::string& yomi) {
        char* r = m_bytes.data() + kRecordSize * static_cast<std::size_t>(n);
        std::memcpy(r, word.data(), std::min(word.size(), kWordSlotSize));
        std::memcpy(r + kWordSlotSize, yomi.data(), std::min(yomi.size(), kYomiSlotSize));
        return *this;
    }
    const std::string& Bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};

} // namespace yomi6::test
