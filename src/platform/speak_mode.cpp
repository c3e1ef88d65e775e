#include "platform/speak_mode.h"

#include "cli/cli_common.h"

namespace yomi6 {

int RunSpeakMode(int, char**, const cli::Options&) {
    cli::PrintError("--speak", "speaking through the sound output is not built yet");
    return cli::kExitIoError;
}

} // namespace yomi6
