// The command line's files checked against each other before anything is read or written: an
// output that is the input, or two outputs that are one file, would lose one of them.
#pragma once

#include "cli/cli_options.h"

#include <string>

namespace yomi6::cli {

// "" when the input and every output of the mode are different files, else the usage error
// naming the two. Names are compared as the files they lead to: the same folder and name, or
// (for files that exist) the same device and inode, so that a symbolic or hard link to the
// input counts as the input. Standard input and output, devices and FIFOs are written into,
// never replaced, and are not compared.
std::string CheckDistinctFiles(const Options& options);

} // namespace yomi6::cli
