#include "cli/cli_main.h"

#include "cli/cli_common.h"
#include "cli/cli_modes.h"
#include "cli/interrupt_cleanup.h"
#include "cli/natural_modes.h"
#include "cli/output_checks.h"
#include "cli/qt_program.h"
#include "cli/speech_options.h"
#include "cli/version_text.h"
#include "playback/speech_state.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace yomi6::cli {

namespace {

int RunReading(const Options& options) {
    const auto speech = std::make_unique<SpeechState>();
    if (const int status = PrepareSpeech(options, *speech); status != kExitOk) {
        return status;
    }
    return WriteStdout(speech->reading, static_cast<std::size_t>(speech->endIndex)) ? kExitOk
                                                                                    : kExitIoError;
}

} // namespace

bool WriteStdout(const void* bytes, std::size_t size) {
    const auto* p = static_cast<const unsigned char*>(bytes);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(STDOUT_FILENO, p + done, size - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            PrintError("standard output", std::strerror(errno));
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

int RunProgram(int argc, char** argv, QtModeRunner runQtMode) {
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
    if (NeedsQt(parsed.options.mode)) {
        return runQtMode(argc, argv, parsed.options);
    }
    // A mode ended by a signal leaves none of the files it was writing.
    RemoveTemporariesOnInterrupt();
    return RunCommandLineMode(parsed.options);
}

int RunCommandLineMode(const Options& options) {
    switch (options.mode) {
    case Mode::Help:
        return WriteStdout(UsageText().data(), UsageText().size()) ? kExitOk : kExitIoError;
    case Mode::Version: {
        const std::string version = VersionText();
        return WriteStdout(version.data(), version.size()) ? kExitOk : kExitIoError;
    }
    case Mode::Reading:
        return RunReading(options);
    case Mode::Schedule:
        return RunSchedule(options);
    case Mode::Units:
        return NaturalVoiceOption(options) ? RunNaturalUnits(options) : RunUnits(options);
    case Mode::Wav:
        return NaturalVoiceOption(options) ? RunNaturalWav(options) : RunWav(options);
    case Mode::CheckVoice:
        return RunCheckVoice(options);
    case Mode::Export:
        return RunExport(options);
    case Mode::Labels:
        return RunLabels(options);
    case Mode::Speak:
    case Mode::Pdf:
        PrintError("yomi6", "this mode is not built yet");
        return kExitIoError;
    case Mode::Editor:
        break;
    }
    return kExitUsage;
}

} // namespace yomi6::cli
