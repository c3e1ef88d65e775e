// A font as the program keeps it between runs: the fields the settings file stores, with the
// sizes it stores them in. The GUI converts it to and from its own font type; only the
// settings file's readers and writers know the keys and the numbers they hold.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace yomi6 {

inline constexpr std::size_t kFaceNameSize = 32; // bytes, including the terminating NUL

struct FontDescription {
    std::int32_t height = 0; // pixels: character height when negative, cell height when positive;
                             // 0: no font chosen
    std::int32_t width = 0;  // average character width, 0: the face's own
    std::int32_t weight = 0; // 100 to 900, 0: the face's default
    std::uint8_t italic = 0; // nonzero: italic (the file's byte kept as it is)
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 0;          // 128: Japanese
    std::uint8_t pitchAndFamily = 0;   // the file's byte, kept for writing back
    char faceName[kFaceNameSize] = {}; // code page 932, NUL-terminated
};

// The face name up to its NUL (all 32 bytes if a caller left no NUL).
std::string_view FaceName(const FontDescription& font);

// Sets the face name, cut to at most 31 bytes so that the NUL always fits. The cut never
// splits a double-byte character: when byte 31 would be the first half of one, that character
// is left out whole and the name keeps 30 bytes.
void SetFaceName(FontDescription& font, std::string_view name);

} // namespace yomi6
