// One pass of speech (repeat off) laid out in time: the schedule of its timer ticks, and its
// rendering as a PCM WAVE image, as if every tick had been on time.
#pragma once

#include "playback/fitted_samples.h"
#include "playback/pass_schedule.h"
#include "playback/speech_state.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace yomi6 {

// The rendering's format: 8-bit unsigned mono (the samples' own format) at 16000 Hz. The rate
// holds every 8000 Hz sample exactly (each recorded value lands on an even output sample, with
// linearly interpolated values between) and the whole band of the 11025 Hz samples (up to
// 5.5 kHz, linearly interpolated); one millisecond is exactly 16 output samples, so the tick
// onsets k x speed fall on whole samples for every speed.
inline constexpr int kRenderRate = 16000;
inline constexpr std::size_t kWaveHeaderSize = 44;

// A recorded sample as the renderer takes it: 8-bit unsigned mono at its own rate.
struct SampleSound {
    int sampleRate = 0; // 0: no such sample
    std::span<const unsigned char> samples;
};

// Finds the sound of a sample name.
using SoundSource = std::function<SampleSound(std::string_view name)>;

// Whether the renderer can play a sound: a rate from 1 to 192000 Hz and at least one value.
bool IsUsableSound(const SampleSound& sound);

// How many output samples a usable sound lasts: its length at the render rate, rounded up.
std::int64_t RenderedLength(const SampleSound& sound);

// Writes the first count (at most RenderedLength) output samples of a usable sound to out,
// linearly interpolated between the recorded values (the last one is held).
void Resample(const SampleSound& sound, unsigned char* out, std::int64_t count);

// A usable sound at the render rate as 16-bit frames, the form samples are mixed in: every
// 8-bit value v becomes (v - 128) x 256, so that frames no fade touches narrow back exactly.
std::vector<std::int16_t> RenderFrames(const SampleSound& sound);

// The frames of each sample a rendering plays, at the render rate (RenderFrames), made once per
// name and, with fitting on, shortened to the tick of speed as the live output plays them.
class RenderedSounds {
public:
    RenderedSounds(SoundSource source, std::int32_t speed, SampleFitting fitting);

    // The frames of name, valid as long as this object; empty when the source has no usable
    // sound of that name. name must live as long as this object (the names of the samples do).
    std::span<const std::int16_t> Frames(std::string_view name);

private:
    SoundSource m_source;
    SampleFitting m_fitting;
    FittedSamples m_fitted;
    std::unordered_map<std::string_view, std::vector<std::int16_t>> m_frames;
};

// A mixed 16-bit frame as the 8-bit unsigned value written out, rounded to the nearest step.
unsigned char NarrowFrame(std::int16_t frame);

// The compiled-in sample of that name, or none when it is missing or not 8-bit mono PCM.
SampleSound CompiledInSound(std::string_view name);

// One pass rendered as a WAVE image: tick k sounds at k x the timer interval of state.speed
// (a speed below 10 ms gets 10 ms, as the timer does), and each sample sounds until it ends or
// the next sample starts, fading out just before that start as SampleHandover has it; a
// tick that plays nothing, or whose sample the source does not have, lets the previous one
// sound on. With fitting on, samples longer than the tick are first shortened to it. The image
// lasts until the later of the last tick and the end of the last sound. std::nullopt, with
// the reason in *error, for a speed above 1000 ms.
std::optional<std::vector<unsigned char>>
RenderPassWave(const SpeechState& state, const SoundSource& source, std::string* error = nullptr,
               SampleFitting fitting = SampleFitting::Off);

} // namespace yomi6
