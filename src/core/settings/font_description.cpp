#include "settings/font_description.h"

#include "text/cp932.h"

#include <cstring>

namespace yomi6 {

std::string_view FaceName(const FontDescription& font) {
    const void* nul = std::memchr(font.faceName, '\0', kFaceNameSize);
    const std::size_t length =
        nul == nullptr ? kFaceNameSize
                       : static_cast<std::size_t>(static_cast<const char*>(nul) - font.faceName);
    return {font.faceName, length};
}

void SetFaceName(FontDescription& font, std::string_view name) {
    name = name.substr(0, name.find('\0'));
    constexpr std::size_t kMaxBytes = kFaceNameSize - 1;
    std::size_t length = 0;
    // Walk whole characters so that a cut falls between them.
    while (length < name.size()) {
        const auto lead = static_cast<std::uint8_t>(name[length]);
        const bool pair = length + 1 < name.size() &&
                          cp932::IsLegalPair(lead, static_cast<std::uint8_t>(name[length + 1]));
        const std::size_t next = length + (pair ? 2 : 1);
        if (next > kMaxBytes) {
            break;
        }
        length = next;
    }
    std::memset(font.faceName, 0, kFaceNameSize);
    std::memcpy(font.faceName, name.data(), length);
}

} // namespace yomi6
