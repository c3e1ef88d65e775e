// The fields of a RIFF/WAVE file as the WAVE reader (wave_decoder.h) takes them. Fields are
// little-endian whatever the machine; a chunk id is four bytes compared as they are.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace yomi6::riff {

inline constexpr std::size_t kRiffHeaderSize = 12; // "RIFF", size, "WAVE"
inline constexpr std::size_t kChunkHeaderSize = 8; // id, size
inline constexpr std::uint32_t kPcmTag = 1;        // the format tag of integer PCM

inline std::uint32_t Le16(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8);
}

inline std::uint32_t Le32(const unsigned char* p) {
    return Le16(p) | (Le16(p + 2) << 16);
}

inline bool IdIs(const unsigned char* p, const char* id) {
    return std::memcmp(p, id, 4) == 0;
}

} // namespace yomi6::riff
