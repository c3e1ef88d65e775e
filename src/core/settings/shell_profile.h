// The entries the main window keeps in the settings file: its rectangle, the recent-file list
// and the print preview's page count.
#pragma once

#include "io/profile_file.h"

#include <cstdint>
#include <string>
#include <vector>

namespace yomi6 {

struct WindowRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

// "X1", "Y1", "X2", "Y2" of the settings section (defaults 0, 0, 580, 350).
WindowRect ReadMainWindowRect(const ProfileFile& profile);
// Writes the rectangle in the order "Y1", "Y2", "X1", "X2".
void WriteMainWindowRect(ProfileFile& profile, const WindowRect& rect);

inline constexpr std::size_t kRecentFileCount = 4;

// The non-empty entries "File1" to "File4" of "Recent File List", most recent first. Paths are
// the bytes stored in the file.
std::vector<std::string> ReadRecentFiles(const ProfileFile& profile);
// Writes the first four entries as "File1".. and removes the keys of missing entries. An entry
// that cannot be stored (empty, or holding a line break or NUL) is left out and the later ones
// move up; false when that happened.
bool WriteRecentFiles(ProfileFile& profile, const std::vector<std::string>& files);

// "PreviewPages" of section "Settings" (0 when absent: the preview decides).
std::int32_t ReadPreviewPages(const ProfileFile& profile);
void WritePreviewPages(ProfileFile& profile, std::int32_t pages);

} // namespace yomi6
