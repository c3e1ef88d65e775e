// Reading the header of an 8-bit mono PCM WAVE image: "RIFF", size, "WAVE", a 16-byte "fmt "
// chunk and a "data" chunk.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace yomi6 {

struct WaveInfo {
    int sampleRate = 0;
    int channels = 0;
    int bitsPerSample = 0;
    const unsigned char* samples = nullptr; // the data chunk's bytes
    std::size_t sampleCount = 0;            // bytes in the data chunk
};

// Parses image; std::nullopt with a reason in *error for anything that is not a well-formed
// PCM WAVE image whose chunks lie within size. Never reads past size.
std::optional<WaveInfo> ParseWave(const unsigned char* image, std::size_t size,
                                  std::string* error = nullptr);

} // namespace yomi6
