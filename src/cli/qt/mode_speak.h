// yomi6 --speak: one pass of speech through the default sound output.
#pragma once

#include "cli/cli_options.h"

namespace yomi6 {

// Speaks the input of options once and returns the process's exit status when the pass is over.
int RunSpeakMode(int argc, char** argv, const cli::Options& options);

} // namespace yomi6
