// Who says the lines in 「」 and 『』 of a text, as the settings file and the command line name it.
#pragma once

#include "io/profile_file.h"

#include <optional>
#include <string_view>

namespace yomi6 {

enum class DialogueVoice {
    Off = 0,       // the voice that says the rest: the reading as it always was
    OtherSlot = 1, // the other slot's voice (the slot F5 switches to)
    Happy = 2,     // the natural voice in a style of its own
    Sad = 3,
    Angry = 4,
};

// The stored choice; absent (a file of an earlier version) or a value it does not know: Off.
DialogueVoice LoadDialogueVoice(const ProfileFile& profile);
bool SaveDialogueVoice(ProfileFile& profile, DialogueVoice voice);

// The choice a name of the command line gives: off, other, happy, sad or angry.
std::optional<DialogueVoice> ParseDialogueVoice(std::string_view name);

} // namespace yomi6
