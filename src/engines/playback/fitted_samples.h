// Samples that fit a fast tick: when the tick is shorter than a sample, the sample is made
// shorter by time-scaling with its pitch kept, so that the next sample does not cut off its
// vowel. The scaling is done ahead, for one speed at a time, and kept; playing a sample only
// looks it up.
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace yomi6 {

// Whether samples longer than the tick are shortened to it.
enum class SampleFitting { Off, On };

// A sample is shortened to at most this fraction of its length: scaled harder, speech no
// longer sounds like speech, and the next sample may cut what is left as it does without the
// setting.
inline constexpr double kMinFitRatio = 0.4;

// The frames of pcm (16-bit mono at sampleRate) made targetFrames long with their pitch kept,
// or no shorter than kMinFitRatio of their length. A sample no longer than targetFrames comes
// back as it is.
std::vector<std::int16_t> FitToLength(std::span<const std::int16_t> pcm, int sampleRate,
                                      std::int64_t targetFrames);

class FittedSamples {
public:
    using Pcm = std::span<const std::int16_t>;

    // Frames of the samples it will be given are at sampleRate.
    explicit FittedSamples(int sampleRate) : m_rate(sampleRate) {}

    // Makes the samples added from now on fit the tick of speed (milliseconds, as the speech
    // timer takes it), and Find answer for that speed and that set of voices (the voice
    // selection's generation: a sample name speaks differently once a slot has another
    // voice, so its scaled frames are never taken from another set). What was built for
    // every speed and set is kept for the whole life of the object, so that frames handed out
    // stay valid while a sound output may still be playing them. name must live as long as
    // this object (the names of the compiled-in samples do).
    void Prepare(std::int32_t speed, std::uint64_t voices = 0);
    // Scales pcm for the current speed unless it was done already or it fits the tick as it
    // is. This is the costly part: callers do it ahead of playing, never on a tick.
    void Add(std::string_view name, Pcm pcm);

    // The frames of name fitted to the tick, or pcm when the sample was not longer than the
    // tick or was not added for this speed. Never scales anything itself.
    Pcm Find(std::string_view name, Pcm pcm) const;

    std::int32_t speed() const { return m_speed; }
    std::uint64_t voices() const { return m_voices; }
    // The samples scaled for the current speed.
    std::size_t size() const;

private:
    using Set = std::unordered_map<std::string_view, std::vector<std::int16_t>>;

    using Key = std::pair<std::int32_t, std::uint64_t>; // speed, voices

    const Set* Current() const;

    const int m_rate;
    std::int32_t m_speed = -1;
    std::uint64_t m_voices = 0;
    std::int64_t m_tickFrames = 0;
    std::map<Key, Set> m_sets;
};

} // namespace yomi6
