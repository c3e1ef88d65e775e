#include "speech_session/sentence_starts.h"

#include "natural/chunking.h"

#include <algorithm>

namespace yomi6 {

bool SentenceStarts::Has(std::string_view bytes, std::size_t byte) {
    if (!m_starts) {
        m_starts.emplace();
        for (const natural::ByteRange& r : natural::SplitChunks(bytes)) {
            m_starts->push_back(r.begin);
        }
    }
    return std::binary_search(m_starts->begin(), m_starts->end(), byte);
}

} // namespace yomi6
