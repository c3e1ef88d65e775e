// What --version prints: the program's name as its main window shows it, and the version it
// was built as (the build system's project version).
#pragma once

#include <string>

namespace yomi6::cli {

// One line, UTF-8, ending in a line break: "よみあげPad Ver6.0 (yomi6 0.1.0)".
std::string VersionText();

} // namespace yomi6::cli
