// A strict reader for the one WAVE layout the voice samples use: "RIFF", size, "WAVE", a 16-byte
// "fmt " chunk for 8-bit mono PCM, then a "data" chunk that ends the image. Anything else is
// refused with a reason, and no byte beyond size is ever looked at.
#include "wave/wave_image.h"

#include "wave/riff_fields.h"

#include <cstdint>

namespace yomi6 {
namespace {

using riff::IdIs;
using riff::kChunkHeaderSize;
using riff::kPcmTag;
using riff::kRiffHeaderSize;
using riff::Le16;
using riff::Le32;

constexpr std::size_t kFmtSize = 16;
constexpr std::uint32_t kMinSampleRate = 1000;
constexpr std::uint32_t kMaxSampleRate = 192000;

std::optional<WaveInfo> Fail(std::string* error, const char* reason) {
    if (error != nullptr) {
        *error = reason;
    }
    return std::nullopt;
}

} // namespace

std::optional<WaveInfo> ParseWave(const unsigned char* image, std::size_t size,
                                  std::string* error) {
    if (image == nullptr || size < kRiffHeaderSize) {
        return Fail(error, "too short for a RIFF header");
    }
    if (!IdIs(image, "RIFF")) {
        return Fail(error, "does not start with \"RIFF\"");
    }
    if (!IdIs(image + 8, "WAVE")) {
        return Fail(error, "RIFF form type is not \"WAVE\"");
    }
    const std::uint64_t riffSize = Le32(image + 4);
    if (riffSize + 8 > size) {
        return Fail(error, "RIFF size runs past the end of the image");
    }
    if (riffSize + 8 < size) {
        return Fail(error, "bytes follow the end of the RIFF form");
    }

    // The "fmt " chunk comes first and is exactly 16 bytes.
    std::size_t pos = kRiffHeaderSize;
    if (size - pos < kChunkHeaderSize + kFmtSize) {
        return Fail(error, "too short for a \"fmt \" chunk");
    }
    if (!IdIs(image + pos, "fmt ")) {
        return Fail(error, "first chunk is not \"fmt \"");
    }
    if (Le32(image + pos + 4) != kFmtSize) {
        return Fail(error, "\"fmt \" chunk is not 16 bytes");
    }
    const unsigned char* fmt = image + pos + kChunkHeaderSize;
    const std::uint32_t tag = Le16(fmt);
    const std::uint32_t channels = Le16(fmt + 2);
    const std::uint32_t rate = Le32(fmt + 4);
    const std::uint32_t byteRate = Le32(fmt + 8);
    const std::uint32_t blockAlign = Le16(fmt + 12);
    const std::uint32_t bits = Le16(fmt + 14);
    if (tag != kPcmTag) {
        return Fail(error, "format tag is not PCM");
    }
    if (channels != 1) {
        return Fail(error, "not one channel");
    }
    if (bits != 8) {
        return Fail(error, "not 8 bits per sample");
    }
    if (blockAlign != 1) {
        return Fail(error, "block alignment is not 1");
    }
    if (rate < kMinSampleRate || rate > kMaxSampleRate) {
        return Fail(error, "sample rate out of range");
    }
    if (byteRate != rate) {
        return Fail(error, "byte rate does not match the sample rate");
    }
    pos += kChunkHeaderSize + kFmtSize;

    // The "data" chunk follows at once and ends the image, save for the pad byte that RIFF
    // puts after a chunk of odd size.
    if (size - pos < kChunkHeaderSize) {
        return Fail(error, "no \"data\" chunk");
    }
    if (!IdIs(image + pos, "data")) {
        return Fail(error, "chunk after \"fmt \" is not \"data\"");
    }
    const std::uint64_t dataSize = Le32(image + pos + 4);
    pos += kChunkHeaderSize;
    const std::size_t rest = size - pos;
    if (dataSize > rest) {
        return Fail(error, "\"data\" chunk runs past the end of the image");
    }
    const bool padded = dataSize % 2 == 1 && dataSize + 1 == rest;
    if (dataSize != rest && !padded) {
        return Fail(error, "bytes follow the \"data\" chunk");
    }

    WaveInfo info;
    info.sampleRate = static_cast<int>(rate);
    info.channels = static_cast<int>(channels);
    info.bitsPerSample = static_cast<int>(bits);
    info.samples = image + pos;
    info.sampleCount = static_cast<std::size_t>(dataSize);
    return info;
}

} // namespace yomi6
