// The reading of a text: dictionary words replaced by their readings, kana, digits, Latin
// letters and some punctuation folded into half-width katakana and pause marks, every other
// byte passed through.
#pragma once

#include <cstddef>

namespace yomi6 {

inline constexpr std::size_t kMaxTextBytes = 4000;      // the rest of a longer text is not read
inline constexpr std::size_t kTextBufferSize = 4096;    // text plus at least 96 zero bytes
inline constexpr std::size_t kReadingBufferSize = 4096; // reading plus its zero terminator

// Which dictionary lookup the conversion uses; both give the same reading.
enum class DicLookup { Indexed, LinearReference };

// Converts the first min(n, 4000) bytes of text against the dictionary tables into reading,
// which is first filled with zeros. Returns the reading's length, the offset of its
// terminating zero byte.
//
// A reading that would not fit in 4095 bytes ends with the last whole output that fits (a
// whole dictionary reading, a whole letter or digit reading, a whole kana): nothing is written
// past the buffer, the terminator stays, and no unit is cut in half.
std::size_t ConvertToReading(const unsigned char* text, std::size_t n,
                             unsigned char (&reading)[kReadingBufferSize],
                             DicLookup lookup = DicLookup::Indexed);

} // namespace yomi6
