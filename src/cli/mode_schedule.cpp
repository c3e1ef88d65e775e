#include "cli/cli_common.h"
#include "cli/cli_main.h"
#include "cli/cli_modes.h"
#include "cli/speech_options.h"
#include "playback/pass_schedule.h"
#include "playback/speech_state.h"

#include <memory>
#include <string>

namespace yomi6::cli {

int RunSchedule(const Options& options) {
    const auto speech = std::make_unique<SpeechState>();
    if (const int status = PrepareSpeech(options, *speech); status != kExitOk) {
        return status;
    }
    ApplySpeechOptions(options, *speech);
    std::string out;
    for (const std::string_view entry : PassSchedule(*speech)) {
        out.append(entry).push_back('\n');
    }
    return WriteStdout(out.data(), out.size()) ? kExitOk : kExitIoError;
}

} // namespace yomi6::cli
