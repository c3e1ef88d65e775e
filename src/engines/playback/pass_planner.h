// Long readings in passes: a text longer than one reading is read pass after pass, each pass a
// piece of its code page 932 bytes (CR LF line ends) no longer than the source cut, ending
// after a sentence or a line where the piece holds one, so that no pass stops mid-sentence.
#pragma once

#include <cstddef>
#include <string_view>

namespace yomi6 {

inline constexpr std::size_t kPassSourceBytes = 4000; // the most source bytes one reading takes

// How many of bytes the next pass reads. bytes starts on a character; textEnds says whether the
// text ends with bytes (the last pass takes everything, up to maxBytes). Otherwise the pass ends
// after the last sentence end (。．！？｡ . ! ?) or line end (CR LF) within the first maxBytes
// bytes; without one, after the last whole character there. Never splits a two-byte character
// or a CR LF pair; returns at least one character when bytes is not empty. A sentence end inside
// a ［＃…］ note or a 《…》 ruby that its line closes is no break (a note still open at the limit
// counts as closed): the cut falls outside, before the opening mark when nothing breaks first.
std::size_t PassCutLength(std::string_view bytes, bool textEnds,
                          std::size_t maxBytes = kPassSourceBytes);

// Where the next pass starts, in bytes after the start of this one: where the reading of this
// pass stopped (sourceEnd: the reading buffer may fill before the cut) or the cut itself, and
// never 0 for a non-empty cut, so that a pass that read nothing cannot hold the reading in place.
std::size_t PassAdvance(std::size_t cutLength, std::size_t sourceEnd);

} // namespace yomi6
