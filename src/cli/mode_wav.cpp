#include "cli/cli_common.h"
#include "cli/cli_main.h"
#include "cli/cli_modes.h"
#include "cli/settings_voices.h"
#include "cli/speech_options.h"
#include "io/atomic_file.h"
#include "playback/speech_state.h"
#include "playback/voice_sounds.h"
#include "playback/wav_render.h"

#include <memory>
#include <string>

namespace yomi6::cli {

int RunWav(const Options& options) {
    const auto speech = std::make_unique<SpeechState>();
    if (const int status = PrepareSpeech(options, *speech); status != kExitOk) {
        return status;
    }
    ApplySpeechOptions(options, *speech);
    std::string error;
    const auto image = RenderPassWave(*speech, VoiceSoundSource(SettingsVoiceSelection()), &error,
                                      SampleFittingOption(options));
    if (!image) {
        PrintError(options.wavOutput, error);
        return kExitIoError;
    }
    if (options.wavOutput == "-") {
        return WriteStdout(image->data(), image->size()) ? kExitOk : kExitIoError;
    }
    const std::string_view bytes(reinterpret_cast<const char*>(image->data()), image->size());
    if (!WriteFileAtomically(options.wavOutput, bytes, error, MissingDirectories::Fail)) {
        PrintError(options.wavOutput, error);
        return kExitIoError;
    }
    return kExitOk;
}

} // namespace yomi6::cli
