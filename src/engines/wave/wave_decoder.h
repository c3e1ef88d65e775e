// The one reader of WAVE files: any common layout, integer PCM of 8, 16, 24 or 32 bits, IEEE
// float of 32 or 64 bits, plain or in the extensible format, 1 to 8 channels, 1000 to 384000
// Hz. The header is checked against the file: sizes that run past its end, a frame size or byte
// rate that do not fit the format, and sound that is not a whole number of frames are refused
// with a reason rather than read as far as they go. The voice folders and recordings are
// decoded whole; the built-in samples are only located, in the one strict layout they are kept
// in, and played from their own bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace yomi6 {

enum class WaveError {
    None,
    NotRiff,        // does not start like a RIFF/WAVE file
    Truncated,      // the header declares more bytes than the file holds
    NoFormat,       // no usable "fmt " chunk before the sound
    NoData,         // no "data" chunk
    Unsupported,    // an encoding, bit depth, channel count or rate not read here
    HeaderMismatch, // the format's fields contradict each other
    PartialFrame,   // the sound is not a whole number of frames
    Empty,          // no frames at all
};

// Where a file's sound lies and how it is coded, as its header says.
struct WaveLayout {
    bool isFloat = false;
    int sampleRate = 0;
    int channels = 0;
    int bitsPerSample = 0;        // in the container
    std::size_t formatOffset = 0; // where the "fmt " chunk starts, its id
    std::size_t formatSize = 0;   // the "fmt " chunk's declared size
    std::size_t dataOffset = 0;   // the first byte of the sound
    std::size_t dataSize = 0;     // bytes of sound
    std::uint64_t formEnd = 0;    // where the RIFF form ends
    bool formSizeUnknown = false; // a streamed file: the form runs to the end of the file
    bool dataSizeUnknown = false; // a streamed file: the sound runs to the end of the form
};

struct WaveLayoutResult {
    WaveError error = WaveError::None;
    std::string detail; // what exactly was wrong, in English, for reports
    WaveLayout layout;
    explicit operator bool() const { return error == WaveError::None; }
};

// Reads the header and the chunks up to the sound, which may be empty or end in a partial
// frame (DecodeWave refuses those). Never reads outside bytes.
WaveLayoutResult ReadWaveLayout(std::span<const unsigned char> bytes);

// A decoded sound, mixed down to one channel, as floats in [-1, 1].
struct DecodedWave {
    int sampleRate = 0;
    int channels = 0;      // in the file
    int bitsPerSample = 0; // in the file
    bool isFloat = false;
    std::vector<float> mono;
};

struct WaveDecodeResult {
    WaveError error = WaveError::None;
    std::string detail; // what exactly was wrong, in English, for reports
    DecodedWave wave;
    explicit operator bool() const { return error == WaveError::None; }
};

// Decodes a whole file held in memory. Never reads outside bytes.
WaveDecodeResult DecodeWave(std::span<const unsigned char> bytes);

// The built-in samples' sound, located in place.
struct WaveInfo {
    int sampleRate = 0;
    int channels = 0;
    int bitsPerSample = 0;
    const unsigned char* samples = nullptr; // the data chunk's bytes
    std::size_t sampleCount = 0;            // bytes in the data chunk
};

// Locates the sound of an image in the samples' one layout: "RIFF", size, "WAVE", a 16-byte
// "fmt " chunk of 8-bit mono PCM at 1000 to 192000 Hz, then a "data" chunk that ends the image
// (save for the pad byte after odd data). std::nullopt with a reason in *error for anything
// else. Never reads past size.
std::optional<WaveInfo> ParseWave(const unsigned char* image, std::size_t size,
                                  std::string* error = nullptr);

// A 16-bit mono PCM WAVE file of pcm at rate: the layout the program writes voices in.
std::vector<unsigned char> EncodeWave16(std::span<const std::int16_t> pcm, int rate);

} // namespace yomi6
