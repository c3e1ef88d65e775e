#include "app/editor_main.h"

#include "cli/cli_main.h"
#include "cli/cli_options.h"

namespace yomi6 {

int RunEditor(int, char**, const std::vector<std::string>&) {
    // The editor window is not built yet: say how to use the modes that are.
    const std::string usage = cli::UsageText();
    cli::WriteStdout(usage.data(), usage.size());
    return 0;
}

} // namespace yomi6
