// The rendering of the tick schedule as a stream: samples placed at their ticks' onsets come out
// as 8-bit unsigned PCM at kRenderRate, block by block, holding only the samples still sounding.
// The same rules as RenderPassWave, through the same handover: each sample sounds until it ends
// or the next one starts, a cut sample fades out just before the next start, silence between.
#pragma once

#include "playback/sample_handover.h"
#include "playback/wav_render.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace yomi6 {

class StreamMixer {
public:
    // Receives the next block of output; false stops the rendering (a write error, a cancel).
    using Sink = std::function<bool(const unsigned char* samples, std::size_t count)>;

    explicit StreamMixer(Sink sink);

    // Places a sound's frames at the render rate (RenderedSounds) at output sample onset (onsets
    // never go backwards). Earlier sounds are written out up to that onset. False when the sink
    // refused a block.
    bool Place(std::span<const std::int16_t> frames, std::int64_t onset);
    // Writes out the rest: the output lasts until the later of end and the end of the last
    // sound. False when the sink refused a block.
    bool Finish(std::int64_t end);

    std::int64_t Written() const { return m_written; }

private:
    bool RenderUntil(std::int64_t end);

    Sink m_sink;
    SampleHandover m_handover;
    // The handover plays frames without copying them: the sound placed last and the one it
    // may still be fading out stay here until a later placement replaces them.
    std::array<std::vector<std::int16_t>, 3> m_frames;
    std::size_t m_next = 0;
    std::int64_t m_written = 0; // output samples handed to the sink
    std::vector<std::int16_t> m_mix;
    std::vector<unsigned char> m_block;
};

} // namespace yomi6
