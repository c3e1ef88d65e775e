#include "natural/voice_file.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string_view>
#include <sys/stat.h>

namespace yomi6::natural {

namespace {

// The header is text of a few kilobytes before the data; one far longer is no voice's.
constexpr std::size_t kMaxHeaderBytes = 1 << 16;
constexpr std::string_view kDataMark = "\n[DATA]\n";
constexpr std::string_view kPositionMark = "\n[POSITION]\n";

bool ParseNumber(std::string_view s, std::uint64_t& value) {
    const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    return !s.empty() && ec == std::errc() && ptr == s.data() + s.size();
}

// The highest byte that the ranges "a-b,c-d" name, or false when they are not such ranges.
bool LastByteOf(std::string_view ranges, std::uint64_t& last) {
    while (!ranges.empty()) {
        const std::size_t comma = ranges.find(',');
        const std::string_view range = ranges.substr(0, comma);
        const std::size_t dash = range.find('-');
        std::uint64_t from = 0, to = 0;
        if (dash == std::string_view::npos || !ParseNumber(range.substr(0, dash), from) ||
            !ParseNumber(range.substr(dash + 1), to) || to < from) {
            return false;
        }
        last = std::max(last, to);
        ranges = comma == std::string_view::npos ? std::string_view() : ranges.substr(comma + 1);
    }
    return true;
}

} // namespace

std::string VoiceFileProblem(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    struct stat st {};
    if (!in || ::stat(path.c_str(), &st) != 0) {
        return std::string("cannot be opened (") + std::strerror(errno) + ")";
    }
    std::string head(kMaxHeaderBytes, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    const std::size_t data = head.find(kDataMark);
    if (head.rfind("[GLOBAL]\n", 0) != 0 ||
        head.find("\nHTS_VOICE_VERSION:") == std::string::npos || data == std::string::npos) {
        return "is not a voice file";
    }
    const std::size_t position = head.find(kPositionMark);
    if (position == std::string::npos || position >= data) {
        return "is not a voice file";
    }
    const std::uint64_t dataBytes =
        static_cast<std::uint64_t>(st.st_size) - (data + kDataMark.size());
    bool duration = false;
    std::uint64_t last = 0;
    const std::size_t first = position + kPositionMark.size();
    std::string_view lines = std::string_view(head).substr(first, data + 1 - first);
    while (!lines.empty()) {
        const std::size_t nl = lines.find('\n');
        const std::string_view line = lines.substr(0, nl);
        lines = nl == std::string_view::npos ? std::string_view() : lines.substr(nl + 1);
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos || !LastByteOf(line.substr(colon + 1), last)) {
            return "is not a voice file";
        }
        duration = duration || line.rfind("DURATION_TREE:", 0) == 0;
    }
    if (!duration) {
        return "is not a voice file";
    }
    if (last >= dataBytes) {
        return "is cut short";
    }
    return "";
}

} // namespace yomi6::natural
