// A font record in its own section of the settings file, and the baseline that decides which
// of its fields are worth writing.
#pragma once

#include "io/profile_file.h"
#include "settings/font_description.h"

#include <cstdint>
#include <string_view>

namespace yomi6 {

// The largest magnitude of a font height the file may give: taller characters than this
// (about ten inches on the screen) are no text a user chose, and numbers far beyond it would
// overflow the size arithmetic of the screen and the printer.
inline constexpr std::int32_t kMaxFontHeight = 1000;

// Reads "Height" into record.height (0 when absent), kept within -kMaxFontHeight to
// kMaxFontHeight (its sign kept: negative heights are character heights, positive ones cell
// heights). A height of 0 means no font was chosen:
// then nothing else is read and the other fields keep their values. Otherwise reads "Weight",
// "Italic", "Underline", "PitchAndFamily" (default 0) and "CharSet" (default 1), each byte field
// taking the low 8 bits of the number, and "FaceName" (default "System") cut to 31 bytes.
void LoadFontRecord(const ProfileFile& profile, std::string_view section, FontDescription& record);

// Writes "Height" always; "Weight", "Italic", "Underline", "PitchAndFamily", "CharSet" and
// "FaceName", in this order, only where the record differs from the baseline (byte fields as
// 0 to 255). Then baseline := record.
void SaveFontRecord(ProfileFile& profile, std::string_view section, const FontDescription& record,
                    FontDescription& baseline);

} // namespace yomi6
