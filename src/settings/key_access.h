// Reading and writing the integer keys of the settings table.
#pragma once

#include "settings/profile_file.h"
#include "settings/settings_keys.h"

#include <cstdint>

namespace yomi6 {

inline std::int32_t ReadKey(const ProfileFile& profile, const settings_keys::IntKey& key) {
    return profile.GetInt(key.section, key.key, key.defaultValue);
}

inline void WriteKey(ProfileFile& profile, const settings_keys::IntKey& key, std::int32_t value) {
    profile.WriteInt(key.section, key.key, value);
}

} // namespace yomi6
