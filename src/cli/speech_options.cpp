#include "cli/speech_options.h"

#include "settings/settings.h"
#include "settings/settings_path.h"

namespace yomi6::cli {

SpeechDefaults DefaultSpeechOptions() {
    // The settings file's voice and speed (read, never written), else the female voice at
    // 180 ms per tick.
    SpeechChoices choices;
    const ProfileFile profile = ProfileFile::Open(SettingsPath());
    LoadSpeechSettings(profile, choices);
    return SpeechDefaults{choices.voice, choices.speed, choices.readings,
                          AnalyzerDictionarySetting(profile)};
}

void ApplySpeechOptions(const Options& options, SpeechState& state) {
    const SpeechDefaults defaults = DefaultSpeechOptions();
    state.voice = options.voice.value_or(defaults.voice);
    state.speed = options.speed.value_or(defaults.speed);
}

SampleFitting SampleFittingOption(const Options& options) {
    const bool fit = options.fitSamples.has_value() ? *options.fitSamples
                                                    : LoadFitSamplesReadOnly(SettingsPath()) != 0;
    return fit ? SampleFitting::On : SampleFitting::Off;
}

} // namespace yomi6::cli
