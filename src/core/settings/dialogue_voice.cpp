#include "settings/dialogue_voice.h"

#include "settings/settings_keys.h"

#include <array>
#include <utility>

namespace yomi6 {

namespace {

namespace keys = settings_keys;

constexpr std::array<std::pair<std::string_view, DialogueVoice>, 5> kNames = {{
    {"off", DialogueVoice::Off},
    {"other", DialogueVoice::OtherSlot},
    {"happy", DialogueVoice::Happy},
    {"sad", DialogueVoice::Sad},
    {"angry", DialogueVoice::Angry},
}};

} // namespace

DialogueVoice LoadDialogueVoice(const ProfileFile& profile) {
    const std::int32_t value = profile.GetInt(
        keys::kDialogueVoice.section, keys::kDialogueVoice.key, keys::kDialogueVoice.defaultValue);
    return value >= 0 && value <= static_cast<std::int32_t>(DialogueVoice::Angry)
               ? static_cast<DialogueVoice>(value)
               : DialogueVoice::Off;
}

bool SaveDialogueVoice(ProfileFile& profile, DialogueVoice voice) {
    return profile.WriteInt(keys::kDialogueVoice.section, keys::kDialogueVoice.key,
                            static_cast<std::int32_t>(voice));
}

std::optional<DialogueVoice> ParseDialogueVoice(std::string_view name) {
    for (const auto& [text, voice] : kNames) {
        if (name == text) {
            return voice;
        }
    }
    return std::nullopt;
}

} // namespace yomi6
