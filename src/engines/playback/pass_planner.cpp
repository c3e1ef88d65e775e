#include "playback/pass_planner.h"

#include "text/cp932.h"
#include "text/sentence_end.h"

#include <algorithm>

namespace yomi6 {

namespace {

// The marks that open and close a note ［＃…］ or a ruby 《…》 of Aozora Bunko notation.
constexpr unsigned char kWideRow = 0x81;
constexpr unsigned char kOpenSquare = 0x6D;  // ［
constexpr unsigned char kCloseSquare = 0x6E; // ］
constexpr unsigned char kOpenRuby = 0x73;    // 《
constexpr unsigned char kCloseRuby = 0x74;   // 》
constexpr unsigned char kSharp = 0x94;       // ＃

bool OpensNotation(std::string_view bytes, std::size_t i) {
    if (static_cast<unsigned char>(bytes[i]) != kWideRow || i + 1 >= bytes.size()) {
        return false;
    }
    const auto t = static_cast<unsigned char>(bytes[i + 1]);
    return t == kOpenRuby || (t == kOpenSquare && i + 3 < bytes.size() &&
                              static_cast<unsigned char>(bytes[i + 2]) == kWideRow &&
                              static_cast<unsigned char>(bytes[i + 3]) == kSharp);
}

bool ClosesNotation(unsigned char lead, unsigned char trail) {
    return lead == kWideRow && (trail == kCloseSquare || trail == kCloseRuby);
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
    // Where a note or ruby that is still open starts. A sentence end inside one is no break:
    // the pass after it would begin inside the notation and read its second half aloud. The
    // notation lies within a line, so a line end closes whatever is open (an opening mark
    // without its closing mark is ordinary text, and so are the breaks after it).
    std::size_t open = std::string_view::npos;
    std::size_t openBreak = 0; // the first sentence end after the open mark
    std::size_t i = 0;
    while (i < limit) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        std::size_t length = 1;
        bool ends = false;
        bool lineEnds = false;
        const bool opens = open == std::string_view::npos && OpensNotation(bytes, i);
        bool closes = false;
        if (cp932::IsLeadByte(b) && i + 1 < bytes.size()) {
            length = 2;
            const auto t = static_cast<unsigned char>(bytes[i + 1]);
            ends = cp932::SentenceEndLength(bytes, i) == 2;
            closes = ClosesNotation(b, t);
        } else if (b == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            length = 2;
            ends = lineEnds = true;
        } else {
            lineEnds = b == '\n';
            ends = cp932::SentenceEndLength(bytes, i, textEnds) == 1 || lineEnds;
        }
        if (i + length > limit) {
            break;
        }
        if (opens) {
            open = i;
            openBreak = 0;
        }
        i += length;
        lastChar = i;
        if (closes && open != std::string_view::npos) {
            open = std::string_view::npos;
        }
        if (lineEnds) {
            open = std::string_view::npos;
            lastBreak = i;
        } else if (ends && open == std::string_view::npos) {
            lastBreak = i;
        } else if (ends && openBreak == 0) {
            openBreak = i;
        }
    }
    if (open != std::string_view::npos && open > 0 && lastBreak == 0) {
        return open; // no break before the open mark: cut before it
    }
    if (open == 0 && lastBreak == 0 && openBreak > 0) {
        return openBreak; // notation longer than a pass: cut it where a sentence ends
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
