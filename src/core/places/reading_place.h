// A place in a text that is found again after the text changed: the position and the text on
// either side of it. A place fits a changed text only where that same text still stands around
// it; a place that no longer fits is dropped rather than moved somewhere it was not.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace yomi6 {

// How much text on each side of a place identifies it, in UTF-16 units (less at the ends of the
// text).
inline constexpr std::size_t kPlaceContext = 16;

struct ReadingPlace {
    std::size_t position = 0; // in the text's UTF-16 units
    std::u16string before;    // the text just before position
    std::u16string after;     // the text just after it
    bool operator==(const ReadingPlace&) const = default;
};

// A hash of the whole text (64-bit FNV-1a over its UTF-16 units): the same text, the same hash.
std::uint64_t ContentHash(std::u16string_view text);

// The place at position of text: a position past the end is the end, one between the two halves
// of a surrogate pair the start of the pair; the context never cuts a pair either.
ReadingPlace PlaceIn(std::u16string_view text, std::size_t position);

// Where place is in text: in the very text it was taken from, its own position; in a changed
// text, the position where its context stands whole (the nearest to the old position when it
// stands in several places; a context cut short by the start or the end of the text must be at
// that start or end still). Nothing when the context stands nowhere.
std::optional<std::size_t> FindPlace(const ReadingPlace& place, std::u16string_view text,
                                     bool sameText);

} // namespace yomi6
