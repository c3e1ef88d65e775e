// Running a command-line mode, and a program's command line as a whole.
#pragma once

#include "cli/cli_options.h"

namespace yomi6::cli {

// What runs the modes that need Qt (NeedsQt) for RunProgram; returns the exit status.
using QtModeRunner = int (*)(int argc, char** argv, const Options& options);

// The main of both programs: reads the command line (a usage error is printed, status 2),
// hands the modes that need Qt to runQtMode and runs every other mode itself. Returns the
// process's exit status.
int RunProgram(int argc, char** argv, QtModeRunner runQtMode);

// Runs the mode of options (not Editor) and returns the process's exit status.
int RunCommandLineMode(const Options& options);

// Writes bytes to standard output; false (after printing the error) when they did not all go.
bool WriteStdout(const void* bytes, std::size_t size);

} // namespace yomi6::cli
