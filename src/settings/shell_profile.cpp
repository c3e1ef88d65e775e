#include "settings/shell_profile.h"

#include "settings/settings_keys.h"

namespace yomi6 {

namespace keys = settings_keys;

namespace {

std::int32_t Read(const ProfileFile& profile, const keys::IntKey& key) {
    return profile.GetInt(key.section, key.key, key.defaultValue);
}

void Write(ProfileFile& profile, const keys::IntKey& key, std::int32_t value) {
    profile.WriteInt(key.section, key.key, value);
}

} // namespace

WindowRect ReadMainWindowRect(const ProfileFile& profile) {
    WindowRect rect;
    rect.left = Read(profile, keys::kWindowLeft);
    rect.top = Read(profile, keys::kWindowTop);
    rect.right = Read(profile, keys::kWindowRight);
    rect.bottom = Read(profile, keys::kWindowBottom);
    return rect;
}

void WriteMainWindowRect(ProfileFile& profile, const WindowRect& rect) {
    Write(profile, keys::kWindowTop, rect.top);
    Write(profile, keys::kWindowBottom, rect.bottom);
    Write(profile, keys::kWindowLeft, rect.left);
    Write(profile, keys::kWindowRight, rect.right);
}

std::vector<std::string> ReadRecentFiles(const ProfileFile& profile) {
    std::vector<std::string> files;
    for (const std::string_view key : keys::kRecentFileKeys) {
        std::string file = profile.GetString(keys::kRecentFileSection, key, "");
        if (!file.empty()) {
            files.push_back(std::move(file));
        }
    }
    return files;
}

bool WriteRecentFiles(ProfileFile& profile, const std::vector<std::string>& files) {
    bool allStored = true;
    std::size_t slot = 0;
    for (const std::string& file : files) {
        if (slot == kRecentFileCount) {
            break;
        }
        if (file.empty() ||
            !profile.WriteString(keys::kRecentFileSection, keys::kRecentFileKeys[slot], file)) {
            allStored = false;
            continue;
        }
        ++slot;
    }
    for (; slot < kRecentFileCount; ++slot) {
        profile.DeleteKey(keys::kRecentFileSection, keys::kRecentFileKeys[slot]);
    }
    return allStored;
}

std::int32_t ReadPreviewPages(const ProfileFile& profile) {
    return Read(profile, keys::kPreviewPages);
}

void WritePreviewPages(ProfileFile& profile, std::int32_t pages) {
    Write(profile, keys::kPreviewPages, pages);
}

} // namespace yomi6
