// yomi6: the editor, or a command-line mode when one is named.
#include "cli/cli_common.h"
#include "cli/cli_main.h"
#include "cli/cli_options.h"

#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace yomi6::cli;
    const std::vector<std::string> args(argv + 1, argv + argc);
    const ParseResult parsed = ParseCommandLine(args);
    if (!parsed.error.empty()) {
        PrintError("usage", parsed.error + " (see yomi6 --help)");
        return kExitUsage;
    }
    if (parsed.options.mode == Mode::Editor) {
        // The editor window is not built yet: say how to use the modes that are.
        WriteStdout(UsageText().data(), UsageText().size());
        return kExitOk;
    }
    return RunCommandLineMode(parsed.options);
}
