#include "settings/voice_settings.h"

#include "io/profile_text.h"
#include "settings/settings_keys.h"

#include <algorithm>

namespace yomi6 {

namespace {

namespace keys = settings_keys;

std::string FolderKey(int n) {
    return std::string(keys::kAddedFolderKeyPrefix) + std::to_string(n);
}

} // namespace

VoiceSettings LoadVoiceSettings(const ProfileFile& profile) {
    VoiceSettings voices;
    voices.maleSlot = profile.GetString(keys::kMaleSlotVoice.section, keys::kMaleSlotVoice.key, "");
    voices.femaleSlot =
        profile.GetString(keys::kFemaleSlotVoice.section, keys::kFemaleSlotVoice.key, "");
    for (int n = 1; n <= keys::kMaxAddedFolders; ++n) {
        const auto folder = profile.Find(keys::kVoicesSection, FolderKey(n));
        if (!folder || folder->empty()) {
            break;
        }
        voices.addedFolders.push_back(*folder);
    }
    return voices;
}

bool IsStorableVoiceValue(std::string_view bytes) {
    return profile::IsStorableValue(bytes);
}

bool SaveVoiceSettings(ProfileFile& profile, const VoiceSettings& voices) {
    bool ok = profile.WriteString(keys::kMaleSlotVoice.section, keys::kMaleSlotVoice.key,
                                  voices.maleSlot);
    ok = profile.WriteString(keys::kFemaleSlotVoice.section, keys::kFemaleSlotVoice.key,
                             voices.femaleSlot) &&
         ok;
    int n = 1;
    for (const std::string& folder : voices.addedFolders) {
        if (n > keys::kMaxAddedFolders) {
            break;
        }
        ok = profile.WriteString(keys::kVoicesSection, FolderKey(n++), folder) && ok;
    }
    while (n <= keys::kMaxAddedFolders && profile.DeleteKey(keys::kVoicesSection, FolderKey(n))) {
        ++n;
    }
    return ok;
}

NaturalControls ClampedControls(NaturalControls controls) {
    controls.halfTones =
        std::clamp(controls.halfTones, keys::kMinNaturalPitch, keys::kMaxNaturalPitch);
    controls.intonationTenths =
        std::clamp(controls.intonationTenths, 0, keys::kMaxNaturalIntonation);
    controls.styleWeightPercent =
        std::clamp(controls.styleWeightPercent, 0, keys::kMaxNaturalStyleWeight);
    return controls;
}

NaturalControls LoadNaturalControls(const ProfileFile& profile) {
    const auto read = [&](const keys::IntKey& key) {
        return profile.GetInt(key.section, key.key, key.defaultValue);
    };
    return ClampedControls({read(keys::kNaturalPitch), read(keys::kNaturalIntonation),
                            read(keys::kNaturalStyleWeight)});
}

bool SaveNaturalControls(ProfileFile& profile, const NaturalControls& controls) {
    const NaturalControls kept = ClampedControls(controls);
    const auto write = [&](const keys::IntKey& key, std::int32_t value) {
        return profile.WriteInt(key.section, key.key, value);
    };
    bool ok = write(keys::kNaturalPitch, kept.halfTones);
    ok = write(keys::kNaturalIntonation, kept.intonationTenths) && ok;
    return write(keys::kNaturalStyleWeight, kept.styleWeightPercent) && ok;
}

PauseTable LoadPauses(const ProfileFile& profile) {
    PauseTable table;
    for (std::size_t i = 0; i < kPauseMarkCount; ++i) {
        const keys::IntKey& key = keys::kPauseKeys[i];
        table.ms[i] = profile.GetInt(key.section, key.key, key.defaultValue);
    }
    return ClampedPauses(table);
}

bool SavePauses(ProfileFile& profile, const PauseTable& pauses) {
    const PauseTable kept = ClampedPauses(pauses);
    bool ok = true;
    for (std::size_t i = 0; i < kPauseMarkCount; ++i) {
        const keys::IntKey& key = keys::kPauseKeys[i];
        ok = profile.WriteInt(key.section, key.key, kept.ms[i]) && ok;
    }
    return ok;
}

} // namespace yomi6
