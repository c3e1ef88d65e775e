// The rendering of the tick schedule as a stream: samples placed at their ticks' onsets come out
// as 8-bit unsigned PCM at kRenderRate, block by block, holding only the sample still sounding.
// The same rules as RenderPassWave: each sample sounds until it ends or the next one starts,
// silence in between.
#pragma once

#include "speech/wav_render.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace yomi6 {

class StreamMixer {
public:
    // Receives the next block of output; false stops the rendering (a write error, a cancel).
    using Sink = std::function<bool(const unsigned char* samples, std::size_t count)>;

    explicit StreamMixer(Sink sink);

    // Places a usable sound at output sample onset (onsets never go backwards). Earlier sounds
    // are written out up to that onset. False when the sink refused a block.
    bool Place(const SampleSound& sound, std::int64_t onset);
    // Writes out the rest: the output lasts until the later of end and the end of the last
    // sound. False when the sink refused a block.
    bool Finish(std::int64_t end);

    std::int64_t Written() const { return m_written; }

private:
    bool Flush(std::int64_t upTo);
    bool Silence(std::int64_t count);

    Sink m_sink;
    SampleSound m_pending; // the sound placed last, not yet written
    std::int64_t m_pendingOnset = 0;
    std::int64_t m_written = 0; // output samples handed to the sink
    std::vector<unsigned char> m_block;
};

} // namespace yomi6
