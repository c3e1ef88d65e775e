// How one sample gives way to the next in a stream of 16-bit mono frames: one sample sounds at
// a time, and a new one takes over on its frame. The one still sounding there is not stopped
// on a step, which would click: told ahead where the next one starts, it fades out over the
// few milliseconds before that frame, so the new one starts on its frame from silence; told
// too late for that (only the live output can be), it fades out under the new one's start.
// The live sound output and the rendered WAVE files both lay their samples out through this
// class, so that what is heard and what is written agree.
#pragma once

#include <cstdint>
#include <limits>
#include <span>
#include <vector>

namespace yomi6 {

// How long a cut sample takes to fade out. Long enough that the step a cut would leave is
// spread below a hundredth of full scale per frame for the loudest vowels, short enough that
// nothing of the syllable's sound is lost to it.
inline constexpr int kCutFadeMicroseconds = 4000;

class SampleHandover {
public:
    using Pcm = std::span<const std::int16_t>;

    explicit SampleHandover(int sampleRate);

    // The next sample will start at frame at: the one sounding fades out over the fade frames
    // before it (over those not rendered yet, when at least half the fade is left; else
    // nothing happens here and Start() fades it under the new one). Calling it again with the
    // same frame changes nothing.
    void CutAt(std::int64_t at);

    // pcm sounds from frame start of the stream on (start is never before a frame already
    // rendered nor before the previous start). A sample still sounding at start, which
    // CutAt() did not fade out ahead, fades out under the new one from there. The frames are
    // not copied: they must stay valid while they may sound.
    void Start(Pcm pcm, std::int64_t start);

    // Frames [from, to) of the stream into out (to - from frames); from is where the last
    // render ended (or the first start).
    void Render(std::int16_t* out, std::int64_t from, std::int64_t to);

    // The frame after the last one that sounds, given the samples started so far.
    std::int64_t End() const;

    // Forgets every sample: the stream is silent.
    void Clear();

    std::int64_t fadeFrames() const { return static_cast<std::int64_t>(m_gain.size()); }

private:
    static constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();

    struct Placed {
        Pcm pcm;
        std::int64_t start = 0;
        std::int64_t end() const { return start + static_cast<std::int64_t>(pcm.size()); }
        std::int32_t at(std::int64_t t) const {
            return t >= start && t < end() ? pcm[static_cast<std::size_t>(t - start)] : 0;
        }
    };
    // The fade gain (in 1/32768) at position i of a fade n frames long.
    std::int32_t Gain(std::int64_t i, std::int64_t n) const;

    Placed m_current;
    std::int64_t m_cutAt = kNever;     // where m_current stops, faded ahead
    std::int64_t m_fadeBegin = kNever; // where that fade begins
    Placed m_fading;                   // a sample cut without notice, fading under m_current
    std::int64_t m_fadeStart = 0;      // the frame its fade starts at: m_current's start
    std::int64_t m_rendered = 0;       // the frame after the last one rendered
    std::vector<std::int32_t> m_gain;  // fade gain per frame, in 1/32768
};

} // namespace yomi6
