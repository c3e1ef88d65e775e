#include "cli/speech_options.h"

#include "analysis/analyzer_loader.h"
#include "cli/cli_common.h"
#include "playback/speech_choices.h"
#include "reading/reading_mode.h"
#include "settings/dialogue_voice.h"
#include "settings/settings.h"
#include "settings/settings_path.h"
#include "settings/voice_settings.h"

#include <optional>

namespace yomi6::cli {

SpeechDefaults DefaultSpeechOptions() {
    // The settings file's voice and speed (read, never written), else the female voice at
    // 180 ms per tick.
    SpeechChoices choices;
    const ProfileFile profile = ProfileFile::Open(SettingsPath());
    LoadSpeechSettings(profile, choices);
    return SpeechDefaults{choices.maleVoice ? 1 : 0, choices.speed, ReadingsOf(choices.readings),
                          AnalyzerDictionarySetting(profile), AozoraModeOf(choices)};
}

bool ReadsAozoraOption(const Options& options, std::int32_t readings, std::string_view text,
                       const AnalyzerLoader& analyzer) {
    if (ResolveReadingMode(readings, analyzer) != ReadingMode::Automatic) {
        return false;
    }
    const AozoraMode mode =
        options.aozora ? static_cast<AozoraMode>(*options.aozora) : DefaultSpeechOptions().aozora;
    return ReadsAsAozora(mode, text);
}

std::string AutomaticReadingSource(const Options& options) {
    return options.readings.has_value() ? "--readings auto" : "automatic reading";
}

void ApplySpeechOptions(const Options& options, SpeechState& state) {
    const SpeechDefaults defaults = DefaultSpeechOptions();
    state.voice = VoiceOfFlag(options.voice.value_or(defaults.voice));
    state.speed = options.speed.value_or(defaults.speed);
}

EngineRequest EngineRequestOf(const Options& options, unsigned workers) {
    const ProfileFile profile = ProfileFile::Open(SettingsPath());
    SpeechChoices choices;
    LoadSpeechSettings(profile, choices);
    const VoiceSettings stored = LoadVoiceSettings(profile);
    EngineRequest request;
    request.maleSlot = options.voice ? *options.voice != 0 : choices.maleVoice;
    // --engine samples: the slot's natural voice is not asked for.
    if (options.engine != SpeechEngine::Samples) {
        request.slotValue = request.maleSlot ? stored.maleSlot : stored.femaleSlot;
    }
    request.speed = options.speed.value_or(choices.speed);
    request.analyzerFolder = AnalyzerDictionarySetting(profile);
    request.naturalAsked = options.engine == SpeechEngine::Natural;
    request.style = natural::ParseStyle(options.style);
    request.workers = workers;
    request.outputRate = options.sampleRate;
    request.controls = VoiceControlsOf(LoadNaturalControls(profile));
    if (options.pitch) {
        request.controls.halfTones = *options.pitch;
    }
    if (options.intonation) {
        request.controls.intonation = *options.intonation;
    }
    if (options.styleWeight) {
        request.controls.styleWeight = *options.styleWeight / 100.0;
    }
    request.pauses = LoadPauses(profile);
    if (!options.pauses.empty()) {
        // Checked when the command line was read (ParseNaturalOption).
        ParsePauseList(options.pauses, request.pauses);
    }
    return request;
}

std::optional<EngineRequest> DialogueRequestFor(const Options& options, unsigned workers) {
    const ProfileFile profile = ProfileFile::Open(SettingsPath());
    const DialogueVoice voice = options.dialogueVoice.value_or(LoadDialogueVoice(profile));
    if (voice == DialogueVoice::Off) {
        return std::nullopt;
    }
    const EngineRequest narrator = EngineRequestOf(options, workers);
    const VoiceSettings stored = LoadVoiceSettings(profile);
    // --engine samples: the other slot's natural voice is not asked for either.
    const std::string other = options.engine == SpeechEngine::Samples ? std::string()
                              : narrator.maleSlot                     ? stored.femaleSlot
                                                                      : stored.maleSlot;
    return DialogueRequestOf(narrator, voice, other);
}

std::optional<natural::VoiceChoice> NaturalVoiceOption(const Options& options) {
    return NaturalVoiceOf(EngineRequestOf(options, 1));
}

SampleFitting SampleFittingOption(const Options& options) {
    const bool fit = options.fitSamples.has_value() ? *options.fitSamples
                                                    : LoadFitSamplesReadOnly(SettingsPath());
    return fit ? SampleFitting::On : SampleFitting::Off;
}

} // namespace yomi6::cli
