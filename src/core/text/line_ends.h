// The line-end style of a decoded file, and its line ends turned into '\n'.
#pragma once

#include "text/encode_result.h"

#include <string>

namespace yomi6 {

struct LineEndScan {
    LineEnd style = LineEnd::CrLf;
    // The file mixes line ends: those that differ from style are kept as escape characters.
    bool irregular = false;
};

// Turns the line ends of text that was just decoded from a file into '\n', in place, and
// returns the style in which they are to be written back:
// - all CR LF: CrLf; all LF: Lf; all CR: Cr; no line end at all: CrLf, the default for new
//   text;
// - mixed: the style of the most frequent kind (CR LF before LF before CR on a tie). Only line
//   ends of that kind become '\n'; every other CR and LF byte becomes its escape character, so
//   the text writes back to exactly the file's bytes. The escapes rather than '\r' keep the
//   bytes because an edit control turns each CR into a line break of its own.
// Decoded text holds '\r' and '\n' exactly where the file holds CR and LF bytes, and no
// escape characters for them, which is what this relies on.
LineEndScan NormalizeLineEnds(std::u16string& text);

} // namespace yomi6
