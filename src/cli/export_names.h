// The names of --export's files checked against the formats the encoders write. Apart from the
// parser, so that a program that hands --export over (yomi6) links no encoder.
#pragma once

#include "cli/cli_options.h"

#include <string>

namespace yomi6::cli {

// "" unless options are --export's with a sound, subtitle or timings file whose name does not
// end in the extension of a format written; else the usage error that says so.
std::string CheckExportNames(const Options& options);

} // namespace yomi6::cli
