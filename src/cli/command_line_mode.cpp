// The programs that run every mode (yomi6-sound, yomi6-qt); apart from the light modes so that
// yomi6, which runs only those, links none of the others.
#include "cli/cli_common.h"
#include "cli/cli_main.h"
#include "cli/cli_modes.h"
#include "cli/export_names.h"
#include "cli/interrupt_cleanup.h"
#include "cli/natural_modes.h"
#include "cli/output_checks.h"
#include "cli/qt_program.h"
#include "cli/speech_options.h"

namespace yomi6::cli {

int RunProgram(int argc, char** argv, QtModeRunner runQtMode) {
    const ReadArguments read = ReadCommandLine(argc, argv);
    if (read.status) {
        return *read.status;
    }
    const Options& options = read.options;
    std::string error = CheckExportNames(options);
    if (error.empty()) {
        error = CheckDistinctFiles(options);
    }
    if (!error.empty()) {
        return UsageError(error);
    }
    if (NeedsQt(options.mode)) {
        return runQtMode(argc, argv, options);
    }
    // A mode ended by a signal leaves none of the files it was writing.
    RemoveTemporariesOnInterrupt();
    return RunCommandLineMode(options);
}

int RunCommandLineMode(const Options& options) {
    if (const std::optional<int> status = RunLightMode(options)) {
        return *status;
    }
    switch (options.mode) {
    case Mode::Units:
        return NaturalVoiceOption(options) ? RunNaturalUnits(options) : RunUnits(options);
    case Mode::Wav:
        // A voice of their own for the lines in 「」 and 『』: the whole FILE, as --export says it.
        if (DialogueRequestFor(options, 1)) {
            return RunExport(options);
        }
        return NaturalVoiceOption(options) ? RunNaturalWav(options) : RunWav(options);
    case Mode::CheckVoice:
        return RunCheckVoice(options);
    case Mode::Export:
        return RunExport(options);
    case Mode::Speak:
    case Mode::Pdf:
        // RunProgram hands these to yomi6-qt before it gets here.
        PrintError("yomi6", "--speak and --pdf run in yomi6-qt, not in this program");
        return kExitIoError;
    default:
        break;
    }
    return kExitUsage;
}

} // namespace yomi6::cli
