// Reading a WAVE file of any common layout: integer PCM of 8, 16, 24 or 32 bits, IEEE float of
// 32 or 64 bits, plain or in the extensible format, 1 to 8 channels, 1000 to 384000 Hz. The
// header is checked against the file: sizes that run past its end, a frame size or byte rate
// that do not fit the format, and sound that is not a whole number of frames are refused with
// a reason rather than read as far as they go.
#pragma once

#include <cstddef>
#include <cstdint>
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

// A 16-bit mono PCM WAVE file of pcm at rate: the layout the program writes voices in.
std::vector<unsigned char> EncodeWave16(std::span<const std::int16_t> pcm, int rate);

} // namespace yomi6
