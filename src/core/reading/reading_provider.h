// Where a window that shows or speaks a reading gets it from: one function from text to its
// reading, so that every reading mode can stand behind the same callers.
#pragma once

#include "reading/text_reader.h"

#include <functional>
#include <string>
#include <string_view>

namespace yomi6 {

// The reading (half-width katakana and pause marks, code page 932 bytes) of text (code page
// 932 bytes).
using ReadingProvider = std::function<std::string(std::string_view text)>;

// The dictionary mode: the conversion against the tables of dic, over the first 4000 bytes of
// text, as the speak command converts.
std::string DictionaryModeReading(std::string_view text, const DictionaryView& dic);

// The reading of the first 4000 bytes of text in mode, with the dictionary and analyzer of
// setup; an analyzer that cannot be loaded gives the dictionary mode's reading.
std::string ModeReading(std::string_view text, ReadingMode mode, const ReaderSetup& setup);

} // namespace yomi6
