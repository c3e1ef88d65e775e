// The command-line options of the natural voice: --engine, --style, --sample-rate and its
// controls --pitch, --intonation, --style-weight and --pauses.
#pragma once

#include "cli/cli_options.h"

#include <functional>
#include <string>

namespace yomi6::cli {

// Reads the value of --engine, --style, --sample-rate, --pitch, --intonation, --style-weight or
// --pauses (option) into options; the problem as a usage error, "" when it is fine. value gives the
// option's argument, or null after setting the error.
std::string ParseNaturalOption(const std::string& option,
                               const std::function<const std::string*(const char*)>& value,
                               Options& options);

// Whether the natural voice's options fit the mode: --engine natural goes with --wav and
// --units, --style with --engine natural, --sample-rate with it and --wav or --export. The
// usage error, or "". The controls go with --engine natural, as --style does.
std::string CheckNaturalOptions(const Options& options);

} // namespace yomi6::cli
