// The modes that need Qt (the editor, --speak, --pdf) are a program of their own, yomi6-qt,
// so that every other mode starts without loading Qt: yomi6 hands these three over to it.
#pragma once

#include "cli/cli_options.h"

#include <string>
#include <vector>

namespace yomi6::cli {

// The modes that yomi6-qt runs.
bool NeedsQt(Mode mode);

// Where the Qt program of the program at programPath may be, in the order tried: yomi6-qt
// beside it (the build folder), then <prefix>/libexec/yomi6-qt for a program installed as
// <prefix>/bin/yomi6.
std::vector<std::string> QtProgramPlaces(const std::string& programPath);

// Replaces this process with the Qt program, given the same arguments (argv as main got it),
// so that nothing of this process outlives it. Returns only when it cannot be started, with
// exit status 1 after one line on standard error.
int ExecQtProgram(Mode mode, char** argv);

} // namespace yomi6::cli
