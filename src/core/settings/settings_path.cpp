#include "settings/settings_path.h"

#include "settings/settings_keys.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace yomi6 {

namespace {

bool IsAbsolute(const char* path) {
    return path != nullptr && path[0] == '/';
}

std::string Join(std::string dir, std::string_view name) {
    while (dir.size() > 1 && dir.back() == '/') {
        dir.pop_back();
    }
    if (dir.back() != '/') {
        dir += '/';
    }
    dir += name;
    return dir;
}

std::string HomeFromUserDatabase() {
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* result = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &result) != 0 ||
        result == nullptr || !IsAbsolute(result->pw_dir)) {
        return {};
    }
    return result->pw_dir;
}

} // namespace

std::string SettingsPathFrom(const char* xdgConfigHome, const char* home) {
    // A relative XDG_CONFIG_HOME is invalid and must be ignored.
    if (IsAbsolute(xdgConfigHome)) {
        return Join(xdgConfigHome, settings_keys::kFileName);
    }
    if (IsAbsolute(home)) {
        return Join(Join(home, ".config"), settings_keys::kFileName);
    }
    return {};
}

std::string VoicesDirectoryFrom(const char* xdgDataHome, const char* home) {
    if (IsAbsolute(xdgDataHome)) {
        return Join(xdgDataHome, settings_keys::kVoicesSubdirectory);
    }
    if (IsAbsolute(home)) {
        return Join(Join(home, ".local/share"), settings_keys::kVoicesSubdirectory);
    }
    return {};
}

std::string VoicesDirectory() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    if (!IsAbsolute(xdg) && !IsAbsolute(home)) {
        const std::string fromDatabase = HomeFromUserDatabase();
        return VoicesDirectoryFrom(nullptr, fromDatabase.empty() ? nullptr : fromDatabase.c_str());
    }
    return VoicesDirectoryFrom(xdg, home);
}

std::string SettingsPath() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    if (!IsAbsolute(xdg) && !IsAbsolute(home)) {
        const std::string fromDatabase = HomeFromUserDatabase();
        return SettingsPathFrom(nullptr, fromDatabase.empty() ? nullptr : fromDatabase.c_str());
    }
    return SettingsPathFrom(xdg, home);
}

} // namespace yomi6
