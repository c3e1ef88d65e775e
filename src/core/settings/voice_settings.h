// Which voice each slot speaks with, and the voice folders the user added, as the settings file
// keeps them. Values are the file's bytes (code page 932), unconverted.
#pragma once

#include "io/profile_file.h"
#include "settings/pause_table.h"

#include <cstdint>
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

// The natural voice's controls as the settings file keeps them (settings_keys::kNaturalPitch and
// the keys beside it): whole half-tones, tenths of the intonation, percent of the style.
struct NaturalControls {
    std::int32_t halfTones = 0;
    std::int32_t intonationTenths = 10;
    std::int32_t styleWeightPercent = 100;
    bool operator==(const NaturalControls&) const = default;
};

// Each control brought within its range.
NaturalControls ClampedControls(NaturalControls controls);

// Reads the controls: absent keys (a file of an earlier version) read as the defaults, values
// out of range as the nearest end of their range.
NaturalControls LoadNaturalControls(const ProfileFile& profile);
// Writes them, clamped.
bool SaveNaturalControls(ProfileFile& profile, const NaturalControls& controls);

// Reads the natural voice's pauses: absent keys (a file of an earlier version) or values that
// hold no number read as the defaults, values out of range as the nearest end of their range.
PauseTable LoadPauses(const ProfileFile& profile);
// Writes them, clamped.
bool SavePauses(ProfileFile& profile, const PauseTable& pauses);

} // namespace yomi6
