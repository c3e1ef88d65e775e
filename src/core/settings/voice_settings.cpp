#include "settings/voice_settings.h"

#include "io/profile_text.h"
#include "settings/settings_keys.h"

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

} // namespace yomi6
