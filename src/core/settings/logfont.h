// A font description with the fields and sizes of the platform font record that the settings
// file was made for. The GUI converts it to and from its own font type.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace yomi6 {

inline constexpr std::size_t kFaceNameSize = 32; // bytes, including the terminating NUL

struct LOGFONT {
    std::int32_t lfHeight = 0; // 0: no font chosen
    std::int32_t lfWidth = 0;
    std::int32_t lfEscapement = 0;
    std::int32_t lfOrientation = 0;
    std::int32_t lfWeight = 0;
    std::uint8_t lfItalic = 0;
    std::uint8_t lfUnderline = 0;
    std::uint8_t lfStrikeOut = 0;
    std::uint8_t lfCharSet = 0;
    std::uint8_t lfOutPrecision = 0;
    std::uint8_t lfClipPrecision = 0;
    std::uint8_t lfQuality = 0;
    std::uint8_t lfPitchAndFamily = 0;
    char lfFaceName[kFaceNameSize] = {}; // code page 932, NUL-terminated
};

// The face name up to its NUL (all 32 bytes if a caller left no NUL).
std::string_view FaceName(const LOGFONT& font);

// Sets the face name, cut to at most 31 bytes so that the NUL always fits. The cut never
// splits a double-byte character: when byte 31 would be the first half of one, that character
// is left out whole and the name keeps 30 bytes.
void SetFaceName(LOGFONT& font, std::string_view name);

} // namespace yomi6
