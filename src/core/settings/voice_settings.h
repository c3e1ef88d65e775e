// Which voice each slot speaks with, and the voice folders the user added, as the settings file
// keeps them. Values are the file's bytes (code page 932), unconverted.
#pragma once

#include "io/profile_file.h"

#include <string>
#include <string_view>
#include <vector>

namespace yomi6 {

struct VoiceSettings {
    std::string maleSlot;   // "male", "female", a folder path, or empty (the built-in male)
    std::string femaleSlot; // likewise; empty: the built-in female voice
    std::vector<std::string> addedFolders;
    bool operator==(const VoiceSettings&) const = default;
};

// Reads the slots and the added folders (Folder1, Folder2, ... up to the first absent key).
VoiceSettings LoadVoiceSettings(const ProfileFile& profile);

// Whether the settings file can hold a slot's value or an added folder (stored bytes): no line
// break and no zero byte.
bool IsStorableVoiceValue(std::string_view bytes);

// Writes them; added-folder keys past the new list's end are removed. false when the file
// format cannot hold a value (the profile is then left as far as it got).
bool SaveVoiceSettings(ProfileFile& profile, const VoiceSettings& voices);

} // namespace yomi6
