// What either engine says, as the export, the subtitles and the timings see it: units in text
// order, each with the source bytes it was read from and its place on the sound's clock, and the
// sound itself as a stream of blocks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace yomi6 {

struct SpokenUnit {
    std::int64_t index = 0;      // units (for the sample engine: ticks) before it since the start
    std::int64_t startFrame = 0; // on the sound's clock, in frames at the pass's sample rate
    std::int64_t endFrame = 0;
    std::int64_t startMs = 0; // the same times in milliseconds, as the pass rounds them
    std::int64_t endMs = 0;
    std::string_view says;       // the sample it plays, or the mora (katakana); empty: silent
    std::size_t sourceBegin = 0; // source bytes of the unit in the whole text
    std::size_t sourceEnd = 0;
};

// A block of the sound: 8-bit unsigned samples (eight) or 16-bit ones (sixteen), as the pass
// makes them.
struct SoundBlock {
    const unsigned char* eight = nullptr;
    const std::int16_t* sixteen = nullptr;
    std::size_t count = 0;
};

// The millisecond of a frame at rate, rounded to the nearest (a half rounds up).
inline std::int64_t FrameToMs(std::int64_t frame, int rate) {
    return (frame * 1000 + rate / 2) / rate;
}

} // namespace yomi6
