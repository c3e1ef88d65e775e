// The reading of a text: dictionary words replaced by their readings, kana, digits, Latin
// letters and some punctuation folded into half-width katakana and pause marks, every other
// byte passed through. The text is walked by characters: a dictionary word is looked for at
// the first byte of each character, never at a second byte, and a two-byte character that no
// rule folds (a kanji the dictionary lacks) is copied whole, its second byte never read as a
// letter.
#pragma once

#include "dictionary/dictionary_view.h"
#include "reading/source_range.h"

#include <cstddef>

namespace yomi6 {

inline constexpr std::size_t kMaxTextBytes = 4000;      // the rest of a longer text is not read
inline constexpr std::size_t kTextBufferSize = 4096;    // text plus at least 96 zero bytes
inline constexpr std::size_t kReadingBufferSize = 4096; // reading plus its zero terminator

// What a conversion produced.
struct ReadingResult {
    std::size_t length = 0;    // reading bytes before the terminator
    std::size_t sourceEnd = 0; // how far into the source the reading got (bytes)
};

// Converts the first min(n, 4000) bytes of text against the tables of dic into reading,
// which is first filled with zeros. Returns the reading's length, the offset of its
// terminating zero byte.
//
// A reading that would not fit in 4095 bytes ends with the last whole output that fits (a
// whole dictionary reading, a whole letter or digit reading, a whole kana): nothing is written
// past the buffer, the terminator stays, and no unit is cut in half.
std::size_t ConvertToReading(const unsigned char* text, std::size_t n, const DictionaryView& dic,
                             unsigned char (&reading)[kReadingBufferSize]);

// The same reading against the tables of dic, with the source bytes of every reading byte in
// source (zero-filled past the reading): a dictionary word's reading maps to the whole word, a
// two-byte character's output (folded, or its bytes copied) to its two bytes, every other
// output to its one byte. The ranges never overlap and never go backwards. sourceEnd is the
// cut length of the text, or where the reading stopped when the buffer was full.
ReadingResult ConvertWithSourceMap(const unsigned char* text, std::size_t n,
                                   const DictionaryView& dic,
                                   unsigned char (&reading)[kReadingBufferSize],
                                   SourceRange (&source)[kReadingBufferSize]);

} // namespace yomi6
