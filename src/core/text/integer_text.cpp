#include "text/integer_text.h"

#include <algorithm>
#include <limits>

namespace yomi6 {

namespace {

bool IsBlankOrTab(char c) {
    return c == ' ' || c == '\t';
}

// The white space that a C library's integer conversion skips before the number.
bool IsCSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::optional<std::int32_t> ParseIntegerText(std::string_view text) {
    text = text.substr(0, kIntegerTextMaxBytes);
    std::size_t i = 0;
    while (i < text.size() && IsBlankOrTab(text[i])) {
        ++i;
    }
    const char first = i < text.size() ? text[i] : '\0';

    // A decimal conversion that saturates at the 32-bit limits.
    std::size_t p = i;
    while (p < text.size() && IsCSpace(text[p])) {
        ++p;
    }
    bool negative = false;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
        negative = text[p] == '-';
        ++p;
    }
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
    std::int64_t magnitude = 0;
    const std::size_t digitsStart = p;
    while (p < text.size() && IsDigit(text[p])) {
        if (magnitude <= kMax + 1) {
            magnitude = magnitude * 10 + (text[p] - '0');
        }
        ++p;
    }
    std::int64_t value = 0;
    std::size_t end = i; // no digits: nothing was converted
    if (p > digitsStart) {
        value = negative ? std::max(-magnitude, kMin) : std::min(magnitude, kMax);
        end = p;
    }

    if (value == 0 && first != '0') {
        return std::nullopt;
    }
    while (end < text.size() && IsBlankOrTab(text[end])) {
        ++end;
    }
    if (end != text.size()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

} // namespace yomi6
