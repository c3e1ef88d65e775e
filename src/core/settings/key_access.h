// Reading and writing the integer keys of the settings table.
#pragma once

#include "io/profile_file.h"
#include "settings/settings_keys.h"

#include <cstdint>

namespace yomi6 {

inline std::int32_t ReadKey(const ProfileFile& profile, const settings_keys::IntKey& key) {
    return profile.GetInt(key.section, key.key, key.defaultValue);
}

inline void WriteKey(ProfileFile& profile, const settings_keys::IntKey& key, std::int32_t value) {
    profile.WriteInt(key.section, key.key, value);
}

// Writes a key of this program's own additions only when it differs from its default or the
// file has it already, so that a settings file that never had the key stays as it was.
inline void WriteKeyIfNotDefault(ProfileFile& profile, const settings_keys::IntKey& key,
                                 std::int32_t value) {
    if (value != key.defaultValue || profile.Find(key.section, key.key)) {
        WriteKey(profile, key, value);
    }
}

} // namespace yomi6
