#include "io/profile_text.h"

#include "text/cp932.h"

#include <limits>

namespace yomi6::profile {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::uint8_t Byte(char c) {
    return static_cast<std::uint8_t>(c);
}

// Length of the character at s[i]: 2 for a lead byte followed by a trail byte, else 1.
std::size_t CharLength(std::string_view s, std::size_t i) {
    if (i + 1 < s.size() && cp932::IsLegalPair(Byte(s[i]), Byte(s[i + 1]))) {
        return 2;
    }
    return 1;
}

// Offset of the first single-byte c in s, or npos; bytes inside double-byte characters are
// skipped, so a trail byte equal to c is not found.
std::size_t FindSingleByte(std::string_view s, char c) {
    for (std::size_t i = 0; i < s.size(); i += CharLength(s, i)) {
        if (s[i] == c && CharLength(s, i) == 1) {
            return i;
        }
    }
    return std::string_view::npos;
}

bool HasLineBreakOrNul(std::string_view s) {
    return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

} // namespace

std::string_view TrimBlanks(std::string_view s) {
    std::size_t begin = 0;
    while (begin < s.size() && IsBlank(s[begin])) {
        ++begin;
    }
    std::size_t end = s.size();
    while (end > begin && IsBlank(s[end - 1])) {
        --end;
    }
    return s.substr(begin, end - begin);
}

ParsedLine ParseLine(std::string_view line, bool firstLine) {
    ParsedLine parsed;
    if (line.find('\0') != std::string_view::npos) {
        return parsed; // Other
    }
    std::size_t start = 0;
    if (firstLine && line.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        start = kUtf8Bom.size();
    }
    while (start < line.size() && IsBlank(line[start])) {
        ++start;
    }
    if (start == line.size()) {
        parsed.kind = LineKind::Blank;
        return parsed;
    }
    const char first = line[start];
    if (first == ';' || first == '#') {
        parsed.kind = LineKind::Comment;
        return parsed;
    }
    if (first == '[') {
        const std::string_view rest = line.substr(start + 1);
        const std::size_t close = FindSingleByte(rest, ']');
        if (close != std::string_view::npos) {
            parsed.kind = LineKind::Section;
            parsed.name = TrimBlanks(rest.substr(0, close));
        }
        return parsed; // a '[' without its ']' is not understood
    }
    // '=' (0x3D) is never the second byte of a double-byte character.
    const std::size_t eq = line.find('=', start);
    if (eq == std::string_view::npos) {
        return parsed;
    }
    parsed.kind = LineKind::Key;
    parsed.name = TrimBlanks(line.substr(start, eq - start));
    std::size_t valueStart = eq + 1;
    while (valueStart < line.size() && IsBlank(line[valueStart])) {
        ++valueStart;
    }
    parsed.valueStart = valueStart;
    parsed.value = TrimBlanks(line.substr(valueStart));
    return parsed;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    // Lowering single-byte letters never changes where characters start, so both strings
    // split into the same characters and can be walked together.
    for (std::size_t i = 0; i < a.size();) {
        const std::size_t n = CharLength(a, i);
        if (n != CharLength(b, i)) {
            return false;
        }
        if (n == 2) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) {
                return false;
            }
        } else {
            char x = a[i];
            char y = b[i];
            if (x >= 'A' && x <= 'Z') {
                x = static_cast<char>(x - 'A' + 'a');
            }
            if (y >= 'A' && y <= 'Z') {
                y = static_cast<char>(y - 'A' + 'a');
            }
            if (x != y) {
                return false;
            }
        }
        i += n;
    }
    return true;
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && value.front() == value.back() &&
        (value.front() == '"' || value.front() == '\'')) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::string QuoteForWriting(std::string_view value) {
    if (value.empty()) {
        return {};
    }
    const bool blankAtEnd = IsBlank(value.front()) || IsBlank(value.back());
    if (blankAtEnd || Unquote(value).size() != value.size()) {
        std::string quoted;
        quoted.reserve(value.size() + 2);
        quoted += '"';
        quoted += value;
        quoted += '"';
        return quoted;
    }
    return std::string(value);
}

std::optional<std::int32_t> ParseProfileInt(std::string_view value) {
    std::size_t i = 0;
    while (i < value.size() && IsBlank(value[i])) {
        ++i;
    }
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) {
        negative = value[i] == '-';
        ++i;
    }
    if (i == value.size() || value[i] < '0' || value[i] > '9') {
        return std::nullopt;
    }
    // Accumulate the magnitude in 64 bits and stop growing it past the 32-bit range.
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
        if (magnitude <= kLimit) {
            magnitude = magnitude * 10 + (value[i] - '0');
        }
    }
    const std::int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (signedValue < std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(signedValue);
}

// A name is storable when the line written for it parses back to exactly that name; this also
// rules out a name ending in a lone lead byte, which would swallow the ']' or '=' after it.
bool IsStorableSection(std::string_view section) {
    if (section.empty() || HasLineBreakOrNul(section)) {
        return false;
    }
    const std::string line = "[" + std::string(section) + "]";
    const ParsedLine parsed = ParseLine(line);
    return parsed.kind == LineKind::Section && parsed.name == section;
}

bool IsStorableKey(std::string_view key) {
    if (key.empty() || HasLineBreakOrNul(key)) {
        return false;
    }
    const std::string line = std::string(key) + "=";
    const ParsedLine parsed = ParseLine(line);
    return parsed.kind == LineKind::Key && parsed.name == key;
}

bool IsStorableValue(std::string_view value) {
    return !HasLineBreakOrNul(value);
}

} // namespace yomi6::profile
