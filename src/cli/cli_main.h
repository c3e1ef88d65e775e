// Running a command-line mode.
#pragma once

#include "cli_options/cli_options.h"

namespace yomi6::cli {

// Runs the mode of options (not Editor) and returns the process's exit status.
int RunCommandLineMode(const Options& options);

// Writes bytes to standard output; false (after printing the error) when they did not all go.
bool WriteStdout(const void* bytes, std::size_t size);

} // namespace yomi6::cli
