// --wav and --units with --engine natural: the whole FILE said by the natural voice.
#pragma once

#include "cli/cli_options.h"

namespace yomi6::cli {

// yomi6 --engine natural --wav OUT.wav FILE: the whole text said chunk by chunk on every core,
// written as 16-bit mono WAVE at 16000 Hz. Without the engine or its voice: one line naming
// what to install or the file, and the sample voice's --wav instead.
int RunNaturalWav(const Options& options);

// yomi6 --engine natural --units FILE: one line per mora or pause: the mora in katakana (- for
// a pause), the first and end source byte it was read from, that text, and its start in ms.
int RunNaturalUnits(const Options& options);

} // namespace yomi6::cli
