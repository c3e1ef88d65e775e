// yomi6: the editor, or a command-line mode when one is named.
#include "app/editor_main.h"
#include "cli/cli_common.h"
#include "cli/cli_main.h"
#include "cli/interrupt_cleanup.h"
#include "cli/qt/mode_pdf.h"
#include "cli/qt/mode_speak.h"
#include "cli_options/cli_options.h"
#include "cli_options/output_checks.h"

#include <csignal>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace yomi6::cli;
    // A write past the file size limit then fails with EFBIG, which every writer reports and
    // cleans up after, instead of ending the process with its temporary file left behind.
    std::signal(SIGXFSZ, SIG_IGN);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const ParseResult parsed = ParseCommandLine(args);
    const std::string error =
        parsed.error.empty() ? CheckDistinctFiles(parsed.options) : parsed.error;
    if (!error.empty()) {
        PrintError("usage", error + " (see yomi6 --help)");
        return kExitUsage;
    }
    if (parsed.options.mode != Mode::Editor) {
        // A mode ended by a signal leaves none of the files it was writing.
        RemoveTemporariesOnInterrupt();
    }
    switch (parsed.options.mode) {
    case Mode::Editor:
        return yomi6::RunEditor(argc, argv, parsed.options.editorFiles);
    case Mode::Speak:
        return yomi6::RunSpeakMode(argc, argv, parsed.options);
    case Mode::Pdf:
        return yomi6::RunPdfMode(argc, argv, parsed.options);
    default:
        return RunCommandLineMode(parsed.options);
    }
}
