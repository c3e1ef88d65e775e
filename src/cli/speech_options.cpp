#include "cli/speech_options.h"

#include "cli/cli_common.h"
#include "settings/settings.h"
#include "settings/settings_keys.h"
#include "settings/settings_path.h"
#include "settings/voice_settings.h"
#include "speech/voice_report_text.h"
#include "text/cp932_codec.h"
#include "text/utf8_codec.h"

#include <cstddef>

namespace yomi6::cli {

SpeechDefaults DefaultSpeechOptions() {
    // The settings file's voice and speed (read, never written), else the female voice at
    // 180 ms per tick.
    SpeechChoices choices;
    const ProfileFile profile = ProfileFile::Open(SettingsPath());
    LoadSpeechSettings(profile, choices);
    return SpeechDefaults{choices.voice, choices.speed, choices.readings,
                          AnalyzerDictionarySetting(profile),
                          choices.aozora != 0 ? AozoraMode::Auto : AozoraMode::Off};
}

bool ReadsAozoraOption(const Options& options, std::int32_t readings, std::string_view text) {
    if (readings != kReadingsAutomatic) {
        return false;
    }
    const AozoraMode mode =
        options.aozora ? static_cast<AozoraMode>(*options.aozora) : DefaultSpeechOptions().aozora;
    return ReadsAsAozora(mode, text);
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

namespace {

// A stored folder name (code page 932) as the file system's name (UTF-8).
std::string StoredToPath(const std::string& stored) {
    return EncodeUtf8(DecodeCp932(stored), EncodeOptions{}).bytes;
}

// One line on what of the folder cannot be spoken with it.
void ReportFolder(const VoiceFolderReport& report) {
    const std::string where = "voice folder " + report.folder;
    if (report.folderProblem != FolderProblem::None) {
        PrintError(where, report.folderDetail + "; the built-in voice speaks instead");
        return;
    }
    std::size_t unusable = 0;
    std::string first;
    for (const UnitReport& unit : report.units) {
        if (unit.problem == UnitProblem::None || unit.problem == UnitProblem::Missing) {
            continue;
        }
        if (unusable++ == 0) {
            first = unit.file + ": " + UnitProblemText(unit.problem) +
                    (unit.detail.empty() ? "" : " (" + unit.detail + ")");
        }
    }
    if (unusable > 0) {
        PrintError(where, std::to_string(unusable) + " unit" + (unusable == 1 ? "" : "s") +
                              " unusable, the built-in voice speaks " +
                              (unusable == 1 ? "it" : "them") + " (" + first +
                              (unusable > 1 ? ", ..." : "") + "); yomi6 --check-voice lists all");
    }
}

SlotVoice SlotVoiceOf(VoiceSlot slot, const std::string& stored) {
    namespace keys = settings_keys;
    if (stored.empty()) {
        return {slot, nullptr};
    }
    if (stored == keys::kBuiltInMaleValue) {
        return {VoiceSlot::Male, nullptr};
    }
    if (stored == keys::kBuiltInFemaleValue) {
        return {VoiceSlot::Female, nullptr};
    }
    auto folder = LoadVoiceFolder(StoredToPath(stored));
    ReportFolder(folder->report);
    return {slot, std::move(folder)};
}

} // namespace

VoiceSelection SettingsVoiceSelection() {
    const VoiceSettings stored = LoadVoiceSettings(ProfileFile::Open(SettingsPath()));
    VoiceSelection voices;
    voices.Assign(VoiceSlot::Male, SlotVoiceOf(VoiceSlot::Male, stored.maleSlot));
    voices.Assign(VoiceSlot::Female, SlotVoiceOf(VoiceSlot::Female, stored.femaleSlot));
    return voices;
}

} // namespace yomi6::cli
