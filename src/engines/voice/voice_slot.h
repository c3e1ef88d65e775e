// The two voices the user switches between (the voice button, F5, the settings dialog): the
// male slot and the female slot.
#pragma once

namespace yomi6 {

enum class VoiceSlot { Male, Female };

constexpr VoiceSlot OtherVoice(VoiceSlot slot) {
    return slot == VoiceSlot::Male ? VoiceSlot::Female : VoiceSlot::Male;
}

// The voice of a numeric voice flag, as the command line and the export requests carry it:
// nonzero is the male voice.
constexpr VoiceSlot VoiceOfFlag(int flag) {
    return flag != 0 ? VoiceSlot::Male : VoiceSlot::Female;
}
constexpr int FlagOfVoice(VoiceSlot slot) {
    return slot == VoiceSlot::Male ? 1 : 0;
}

} // namespace yomi6
