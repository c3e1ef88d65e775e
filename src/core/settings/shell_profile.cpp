#include "settings/shell_profile.h"

#include "settings/key_access.h"
#include "settings/settings_keys.h"

namespace yomi6 {

namespace keys = settings_keys;

WindowRect ReadMainWindowRect(const ProfileFile& profile) {
    WindowRect rect;
    rect.left = ReadKey(profile, keys::kWindowLeft);
    rect.top = ReadKey(profile, keys::kWindowTop);
    rect.right = ReadKey(profile, keys::kWindowRight);
    rect.bottom = ReadKey(profile, keys::kWindowBottom);
    return rect;
}

void WriteMainWindowRect(ProfileFile& profile, const WindowRect& rect) {
    WriteKey(profile, keys::kWindowTop, rect.top);
    WriteKey(profile, keys::kWindowBottom, rect.bottom);
    WriteKey(profile, keys::kWindowLeft, rect.left);
    WriteKey(profile, keys::kWindowRight, rect.right);
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
    return ReadKey(profile, keys::kPreviewPages);
}

void WritePreviewPages(ProfileFile& profile, std::int32_t pages) {
    WriteKey(profile, keys::kPreviewPages, pages);
}

} // namespace yomi6
