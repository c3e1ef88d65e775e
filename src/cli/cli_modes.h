// The command-line modes that lay out one pass of speech in time.
#pragma once

#include "cli/cli_options.h"

namespace yomi6::cli {

// yomi6 --schedule FILE: one line per timer tick of one pass, the sample name or "-".
int RunSchedule(const Options& options);

// yomi6 --units FILE: one line per timer tick of one pass: the sample name or "-", the source
// byte range of what the tick read (begin, end exclusive) and that source text in UTF-8.
int RunUnits(const Options& options);

// yomi6 --wav OUT.wav FILE: one pass rendered as a PCM WAVE file ("-": standard output).
int RunWav(const Options& options);

// yomi6 --check-voice DIR: the report of a voice folder; 1 when a unit is unusable.
int RunCheckVoice(const Options& options);
// yomi6 --export OUT FILE: the whole file (or --from/--to) rendered pass after pass to OUT in
// the format its extension picks, with --subtitles and --timings beside it.
int RunExport(const Options& options);

// yomi6 --labels FILE: the full-context labels of each line of FILE, one label per line.
int RunLabels(const Options& options);
int RunChapters(const Options& options);

} // namespace yomi6::cli
