#include "cli/speech_options.h"

namespace yomi6::cli {

SpeechDefaults DefaultSpeechOptions() {
    // The program's own defaults: the female voice at 180 ms per tick.
    return SpeechDefaults{};
}

void ApplySpeechOptions(const Options& options, SpeechState& state) {
    const SpeechDefaults defaults = DefaultSpeechOptions();
    state.voice = options.voice.value_or(defaults.voice);
    state.speed = options.speed.value_or(defaults.speed);
}

} // namespace yomi6::cli
