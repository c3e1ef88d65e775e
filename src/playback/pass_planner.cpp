#include "playback/pass_planner.h"

#include "text/cp932.h"
#include "text/sentence_end.h"

#include <algorithm>

namespace yomi6 {

namespace {

bool IsNarrowSentenceEnd(unsigned char b) {
    return b == 0xA1 || b == '.' || b == '!' || b == '?';
}

} // namespace

std::size_t PassCutLength(std::string_view bytes, bool textEnds, std::size_t maxBytes) {
    maxBytes = std::max<std::size_t>(maxBytes, 2);
    if (textEnds && bytes.size() <= maxBytes) {
        return bytes.size();
    }
    const std::size_t limit = std::min(bytes.size(), maxBytes);
    std::size_t lastBreak = 0; // after the last sentence or line end
    std::size_t lastChar = 0;  // after the last whole character
    std::size_t i = 0;
    while (i < limit) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        std::size_t length = 1;
        bool ends = false;
        if (cp932::IsLeadByte(b) && i + 1 < bytes.size()) {
            length = 2;
            ends = cp932::IsWideSentenceEnd(b, static_cast<unsigned char>(bytes[i + 1]));
        } else if (b == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            length = 2;
            ends = true;
        } else {
            ends = IsNarrowSentenceEnd(b) || b == '\n';
        }
        if (i + length > limit) {
            break;
        }
        i += length;
        lastChar = i;
        if (ends) {
            lastBreak = i;
        }
    }
    if (lastBreak > 0) {
        return lastBreak;
    }
    if (lastChar > 0) {
        return lastChar;
    }
    // Only reached with a pair at the very start and a limit of one byte: take the pair.
    return std::min<std::size_t>(bytes.size(), 2);
}

std::size_t PassAdvance(std::size_t cutLength, std::size_t sourceEnd) {
    if (sourceEnd == 0 || sourceEnd > cutLength) {
        return cutLength;
    }
    return sourceEnd;
}

} // namespace yomi6
