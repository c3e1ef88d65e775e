// yomi6 --pdf OUT.pdf FILE: prints a document to a PDF file without a window, through the same
// page code as the print command, with the page switches and fonts of the settings file.
#pragma once

#include "cli/cli_options.h"

namespace yomi6 {

// Returns the process's exit status: 0 when the PDF was written, 1 on an input or output
// error (one line on standard error).
int RunPdfMode(int argc, char** argv, const cli::Options& options);

} // namespace yomi6
