// Running a command-line mode, and a program's command line as a whole.
#pragma once

#include "cli/cli_options.h"

#include <optional>

namespace yomi6::cli {

// What runs the modes that need Qt (NeedsQt) for RunProgram; returns the exit status.
using QtModeRunner = int (*)(int argc, char** argv, const Options& options);

// The main of the programs that run every mode (yomi6-sound, yomi6-qt): reads the command line
// (a usage error is printed, status 2), hands the modes that need Qt to runQtMode and runs
// every other mode itself. Returns the process's exit status.
int RunProgram(int argc, char** argv, QtModeRunner runQtMode);

// The main of yomi6: reads the command line as RunProgram does, runs the light modes (neither
// NeedsQt nor NeedsSoundLibraries) itself and hands every other mode to the program that runs
// it (ExecHelper) before any check beyond the parser's, which that program makes. Links no
// Qt and none of the sound libraries.
int RunLightProgram(int argc, char** argv);

// Runs the mode of options (not Editor) and returns the process's exit status.
int RunCommandLineMode(const Options& options);

// Runs a light mode (neither NeedsQt nor NeedsSoundLibraries) and returns the process's exit
// status; nothing for any other mode.
std::optional<int> RunLightMode(const Options& options);

// The command line of a program as the parser reads it, the usage error printed (status 2)
// when it does not parse.
struct ReadArguments {
    Options options;
    std::optional<int> status; // set when the program is to end with it
};
ReadArguments ReadCommandLine(int argc, char** argv);
// Prints a usage error (the checks beyond the parser's) and returns its status.
int UsageError(const std::string& error);

// Writes bytes to standard output; false (after printing the error) when they did not all go.
bool WriteStdout(const void* bytes, std::size_t size);

} // namespace yomi6::cli
