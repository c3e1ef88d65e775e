// What an engine says, as playback, the export, the subtitles and the timings see it: the sound
// as a stream of blocks on one clock, each block carrying the units that start in it, and each
// unit with its place on that clock and the source bytes it was read from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace yomi6 {

struct SpokenUnit {
    std::int64_t index = 0;      // units (for the sample engine: ticks) before it since the start
    std::int64_t startFrame = 0; // on the sound's clock, in frames at the engine's sample rate
    std::int64_t endFrame = 0;
    std::int64_t startMs = 0; // the same times in milliseconds, as the engine rounds them
    std::int64_t endMs = 0;
    std::string_view says;       // the sample it plays, or the mora (katakana); empty: silent
    std::size_t sourceBegin = 0; // source bytes of the unit in the whole text
    std::size_t sourceEnd = 0;
    bool startsSentence = false; // the first unit of a sentence or line of the text
};

// What the samples of an engine are: 8-bit unsigned (the sample voices' renderings, 128 is
// silence) or 16-bit signed (the natural voice).
enum class SampleBits { Eight, Sixteen };

// A block of the sound, 8-bit samples (eight) or 16-bit ones (sixteen) as the engine makes them,
// with the units that start within it (or, for the last block, at or after its start), in order.
// Everything it points to lasts only while the block is handed over.
struct SoundBlock {
    const unsigned char* eight = nullptr;
    const std::int16_t* sixteen = nullptr;
    std::size_t count = 0;
    std::int64_t startFrame = 0; // the frame of its first sample on the sound's clock
    std::span<const SpokenUnit> units;
};

// The millisecond of a frame at rate, rounded to the nearest (a half rounds up).
inline std::int64_t FrameToMs(std::int64_t frame, int rate) {
    return (frame * 1000 + rate / 2) / rate;
}

} // namespace yomi6
