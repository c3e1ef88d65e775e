// yomi6 --check-voice DIR: loads a voice folder as the editor would and prints its report.
#include "cli/cli_common.h"
#include "cli/cli_main.h"
#include "cli/cli_modes.h"
#include "voice/voice_folder.h"
#include "voice/voice_report_text.h"

namespace yomi6::cli {

int RunCheckVoice(const Options& options) {
    const auto voice = LoadVoiceFolder(options.voiceFolder);
    const std::string text = FormatVoiceReport(voice->report);
    if (!WriteStdout(text.data(), text.size())) {
        return kExitIoError;
    }
    return voice->report.HasUnusable() ? kExitIoError : kExitOk;
}

} // namespace yomi6::cli
