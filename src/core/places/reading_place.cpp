#include "places/reading_place.h"

#include "text/utf16.h"

#include <algorithm>

namespace yomi6 {

namespace {

// Whether position falls between the two halves of a surrogate pair.
bool SplitsPair(std::u16string_view text, std::size_t position) {
    return position > 0 && position < text.size() && utf16::IsHighSurrogate(text[position - 1]) &&
           utf16::IsLowSurrogate(text[position]);
}

std::size_t Distance(std::size_t a, std::size_t b) {
    return a > b ? a - b : b - a;
}

} // namespace

std::uint64_t ContentHash(std::u16string_view text) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char16_t unit : text) {
        hash = (hash ^ (unit & 0xFFU)) * 1099511628211ULL;
        hash = (hash ^ (unit >> 8U)) * 1099511628211ULL;
    }
    return hash;
}

ReadingPlace PlaceIn(std::u16string_view text, std::size_t position) {
    position = std::min(position, text.size());
    if (SplitsPair(text, position)) {
        --position;
    }
    std::size_t begin = position - std::min(position, kPlaceContext);
    if (SplitsPair(text, begin)) {
        ++begin;
    }
    std::size_t end = position + std::min(text.size() - position, kPlaceContext);
    if (SplitsPair(text, end)) {
        --end;
    }
    return {position, std::u16string(text.substr(begin, position - begin)),
            std::u16string(text.substr(position, end - position))};
}

std::optional<std::size_t> FindPlace(const ReadingPlace& place, std::u16string_view text,
                                     bool sameText) {
    if (sameText) {
        if (place.position > text.size() || SplitsPair(text, place.position)) {
            return std::nullopt;
        }
        return place.position;
    }
    const std::u16string needle = place.before + place.after;
    // A context cut short on one side was cut by the start or the end of the text; the pair
    // test allows for the one unit a pair at the edge of the context took off.
    const bool atStart = place.before.size() + 1 < kPlaceContext;
    const bool atEnd = place.after.size() + 1 < kPlaceContext;
    std::optional<std::size_t> best;
    for (std::size_t at = text.find(needle); at != std::u16string_view::npos;
         at = text.find(needle, at + 1)) {
        const std::size_t position = at + place.before.size();
        if ((atStart && at != 0) || (atEnd && at + needle.size() != text.size()) ||
            SplitsPair(text, position)) {
            continue;
        }
        if (!best || Distance(position, place.position) < Distance(*best, place.position)) {
            best = position;
        }
    }
    return best;
}

} // namespace yomi6
