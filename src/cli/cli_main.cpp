#include "cli/cli_main.h"

#include "cli/cli_common.h"
#include "cli/cli_modes.h"
#include "cli/interrupt_cleanup.h"
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

ReadArguments ReadCommandLine(int argc, char** argv) {
    // A write past the file size limit then fails with EFBIG, which every writer reports and
    // cleans up after, instead of ending the process with its temporary file left behind.
    std::signal(SIGXFSZ, SIG_IGN);
    const std::vector<std::string> args(argv + 1, argv + argc);
    ParseResult parsed = ParseCommandLine(args);
    if (!parsed.error.empty()) {
        return {std::move(parsed.options), UsageError(parsed.error)};
    }
    return {std::move(parsed.options), std::nullopt};
}

int UsageError(const std::string& error) {
    PrintError("usage", error + " (see yomi6 --help)");
    return kExitUsage;
}

int RunLightProgram(int argc, char** argv) {
    const ReadArguments read = ReadCommandLine(argc, argv);
    if (read.status) {
        return *read.status;
    }
    const Options& options = read.options;
    if (NeedsQt(options.mode)) {
        return ExecHelper(kQtProgramName, options.mode, argv);
    }
    if (NeedsSoundLibraries(options.mode)) {
        return ExecHelper(kSoundProgramName, options.mode, argv);
    }
    if (const std::string error = CheckDistinctFiles(options); !error.empty()) {
        return UsageError(error);
    }
    // A mode ended by a signal leaves none of the files it was writing.
    RemoveTemporariesOnInterrupt();
    return RunLightMode(options).value_or(kExitUsage);
}

std::optional<int> RunLightMode(const Options& options) {
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
    case Mode::Labels:
        return RunLabels(options);
    case Mode::Chapters:
        return RunChapters(options);
    default:
        return std::nullopt;
    }
}

} // namespace yomi6::cli
