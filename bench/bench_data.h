// Reproducible dictionaries and texts for the benchmarks.
#pragma once

#include <string>

namespace yomi6::bench {

// A full dictionary image: 9999 records of Japanese-like words (kanji and kana, 2 to 12 bytes)
// with readings, from a fixed seed.
std::string FullDictionaryImage();

// A 4000-byte Shift-JIS text of kanji, kana, digits and letters in which many dictionary
// words of FullDictionaryImage occur.
std::string JapaneseText();

} // namespace yomi6::bench
