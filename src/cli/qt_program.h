// The modes that need more than the light modes are programs of their own, so that yomi6 starts
// without loading what it does not use: yomi6-qt runs those that need Qt (the editor, --speak,
// --pdf), yomi6-sound those that need the sound libraries (resampling, time-scaling, the sound
// file encoders: --units, --wav, --export, --check-voice). yomi6 hands these over to them.
#pragma once

#include "cli/cli_options.h"

#include <string>
#include <vector>

namespace yomi6::cli {

inline constexpr const char* kQtProgramName = "yomi6-qt";
inline constexpr const char* kSoundProgramName = "yomi6-sound";

// The modes that yomi6-qt runs.
bool NeedsQt(Mode mode);
// The modes that yomi6-sound runs (none of NeedsQt).
bool NeedsSoundLibraries(Mode mode);

// Where the program named name that the program at programPath starts may be, in the order
// tried: beside it (the build folder), then <prefix>/libexec/name for a program installed as
// <prefix>/bin/yomi6.
std::vector<std::string> HelperPlaces(const std::string& programPath, const char* name);

// Replaces this process with the program named name (kQtProgramName, kSoundProgramName), given
// the same arguments (argv as main got it), so that nothing of this process outlives it.
// Returns only when it cannot be started, with exit status 1 after one line on standard error
// that names mode.
int ExecHelper(const char* name, Mode mode, char** argv);

} // namespace yomi6::cli
