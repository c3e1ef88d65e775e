#include "cli/speech_options.h"

#include "analysis/analyzer_loader.h"
#include "cli/cli_common.h"
#include "reading/reading_mode.h"
#include "settings/settings.h"
#include "settings/settings_keys.h"
#include "settings/settings_path.h"
#include "settings/voice_settings.h"
#include "text/byte_escape.h"
#include "text/cp932_codec.h"
#include "text/utf8_codec.h"
#include "voice/voice_report_text.h"

#include <cstddef>
#include <cstdio>
#include <optional>
#include <utility>

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
    state.voice = options.voice.value_or(defaults.voice);
    state.speed = options.speed.value_or(defaults.speed);
}

EngineRequest EngineRequestOf(const Options& options, unsigned workers) {
    const ProfileFile profile = ProfileFile::Open(SettingsPath());
    SpeechChoices choices;
    LoadSpeechSettings(profile, choices);
    const VoiceSettings stored = LoadVoiceSettings(profile);
    EngineRequest request;
    request.maleSlot = options.voice.value_or(choices.voice) != 0;
    // --engine samples: the slot's natural voice is not asked for.
    if (options.engine != SpeechEngine::Samples) {
        request.slotValue = request.maleSlot ? stored.maleSlot : stored.femaleSlot;
    }
    request.speed = options.speed.value_or(choices.speed);
    request.analyzerFolder = AnalyzerDictionarySetting(profile);
    request.naturalAsked = options.engine == SpeechEngine::Natural;
    request.style = natural::ParseStyle(options.style);
    request.workers = workers;
    return request;
}

std::optional<natural::VoiceChoice> NaturalVoiceOption(const Options& options) {
    return NaturalVoiceOf(EngineRequestOf(options, 1));
}

SampleFitting SampleFittingOption(const Options& options) {
    const bool fit = options.fitSamples.has_value() ? *options.fitSamples
                                                    : LoadFitSamplesReadOnly(SettingsPath());
    return fit ? SampleFitting::On : SampleFitting::Off;
}

namespace {

// A stored folder name (code page 932) as the file system's name (UTF-8); none when the
// stored bytes are no code page 932 text.
std::optional<std::string> StoredToPath(const std::string& stored) {
    EncodeResult path = EncodeUtf8(DecodeCp932(stored), EncodeOptions{});
    if (!path.ok()) {
        return std::nullopt;
    }
    return std::move(path.bytes);
}

// Stored bytes as a message can show them: text as UTF-8; every byte that is no character
// (escaped, or a single byte that decodes only to a private-use code) and every control
// character as \xNN.
std::string Escaped(const std::string& stored) {
    std::string out;
    for (const char16_t c : DecodeCp932(stored)) {
        const bool stray =
            IsByteEscape(c) || c < 0x20 || c == 0x7F || c == 0x80 || (c >= 0xF8F0 && c <= 0xF8F3);
        if (!stray) {
            out += EncodeUtf8(std::u16string_view(&c, 1), EncodeOptions{}).bytes;
            continue;
        }
        for (const char byte : EncodeCp932(std::u16string_view(&c, 1), EncodeOptions{}).bytes) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", unsigned{static_cast<unsigned char>(byte)});
            out += hex;
        }
    }
    return out;
}

// One line on what of the folder cannot be spoken with it.
void ReportFolder(const VoiceFolderReport& report) {
    const std::string where = "voice folder " + report.folder;
    if (report.folderProblem != FolderProblem::None) {
        PrintError(where,
                   "it " + FolderProblemText(report) + "; the built-in voice speaks instead");
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

// A slot's voice. A folder the other slot names too is shared (other: that slot's stored value
// and voice), so that it is read and reported once.
SlotVoice SlotVoiceOf(VoiceSlot slot, const std::string& stored,
                      const std::pair<std::string, std::shared_ptr<const FolderVoice>>* other) {
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
    if (natural::ParseVoiceChoice(stored)) {
        return {slot, nullptr}; // where samples speak for the natural voice: the slot's own
    }
    if (other != nullptr && other->first == stored) {
        return {slot, other->second};
    }
    const std::optional<std::string> path = StoredToPath(stored);
    if (!path) {
        PrintError("voice folder " + Escaped(stored),
                   "the settings file names it with bytes that are no Shift-JIS text; the "
                   "built-in voice speaks instead");
        return {slot, nullptr};
    }
    auto folder = LoadVoiceFolder(*path);
    ReportFolder(folder->report);
    return {slot, std::move(folder)};
}

} // namespace

VoiceSelection SettingsVoiceSelection() {
    const VoiceSettings stored = LoadVoiceSettings(ProfileFile::Open(SettingsPath()));
    VoiceSelection voices;
    const SlotVoice male = SlotVoiceOf(VoiceSlot::Male, stored.maleSlot, nullptr);
    const std::pair<std::string, std::shared_ptr<const FolderVoice>> maleFolder{stored.maleSlot,
                                                                                male.folder};
    voices.Assign(VoiceSlot::Female,
                  SlotVoiceOf(VoiceSlot::Female, stored.femaleSlot, &maleFolder));
    voices.Assign(VoiceSlot::Male, male);
    return voices;
}

} // namespace yomi6::cli
