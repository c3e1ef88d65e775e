#include "cli/version_text.h"

#include "io/app_strings.h"

namespace yomi6::cli {

std::string VersionText() {
    return std::string(strings::kMainTitle) + " (yomi6 " + YOMI6_VERSION + ")\n";
}

} // namespace yomi6::cli
