// The words of a source text (code page 932), found by script: a run of kanji (with the
// iteration mark), of hiragana, of katakana (with the long vowel mark), of half-width katakana,
// or of letters and digits is one word; any other character is a word of its own. The editor
// shows the word of the unit being heard.
#pragma once

#include "reading/source_range.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace yomi6 {

// The words of bytes, in order, covering every byte.
std::vector<SourceRange> WordRanges(std::string_view bytes);

// The word around unit: from the start of the word holding the unit's first byte to the end of
// the word holding its last byte (unit itself when words holds neither, or unit is empty).
SourceRange WordAround(const std::vector<SourceRange>& words, SourceRange unit);

} // namespace yomi6
