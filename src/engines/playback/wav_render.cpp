#include "playback/wav_render.h"

#include "playback/playback.h"
#include "playback/sample_handover.h"
#include "playback/speech_pass.h"
#include "voice/sample_store.h"
#include "wave/wave_decoder.h"

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <utility>

namespace yomi6 {

namespace {

constexpr int kMaxSourceRate = 192000;
constexpr std::int64_t kSamplesPerMs = kRenderRate / 1000;
static_assert(kRenderRate % 1000 == 0, "tick onsets must fall on whole output samples");

void PutLe16(unsigned char* p, std::uint32_t v) {
    p[0] = static_cast<unsigned char>(v & 0xFF);
    p[1] = static_cast<unsigned char>((v >> 8) & 0xFF);
}

void PutLe32(unsigned char* p, std::uint32_t v) {
    PutLe16(p, v & 0xFFFF);
    PutLe16(p + 2, v >> 16);
}

void WriteHeader(unsigned char* p, std::uint32_t dataSize) {
    std::copy_n("RIFF", 4, p);
    PutLe32(p + 4, dataSize + static_cast<std::uint32_t>(kWaveHeaderSize) - 8);
    std::copy_n("WAVEfmt ", 8, p + 8);
    PutLe32(p + 16, 16);                                      // fmt chunk size
    PutLe16(p + 20, 1);                                       // PCM
    PutLe16(p + 22, 1);                                       // mono
    PutLe32(p + 24, static_cast<std::uint32_t>(kRenderRate)); // sample rate
    PutLe32(p + 28, static_cast<std::uint32_t>(kRenderRate)); // byte rate
    PutLe16(p + 32, 1);                                       // block alignment
    PutLe16(p + 34, 8);                                       // bits per sample
    std::copy_n("data", 4, p + 36);
    PutLe32(p + 40, dataSize);
}

} // namespace

std::int64_t RenderedLength(const SampleSound& sound) {
    const auto n = static_cast<std::int64_t>(sound.samples.size());
    return (n * kRenderRate + sound.sampleRate - 1) / sound.sampleRate;
}

// Output sample j lies at input position j x rate / kRenderRate: between recorded values i and
// i + 1, fraction / kRenderRate of the way.
void Resample(const SampleSound& sound, unsigned char* out, std::int64_t count) {
    const std::span<const unsigned char> in = sound.samples;
    const std::int64_t rate = sound.sampleRate;
    if (2 * rate == kRenderRate) {
        // The common case, the same interpolation without the arithmetic: each recorded value,
        // then the midpoint to the next one.
        std::int64_t j = 0;
        for (std::size_t i = 0; j < count; ++i) {
            const unsigned a = in[i];
            const unsigned b = i + 1 < in.size() ? in[i + 1] : a;
            out[j++] = static_cast<unsigned char>(a);
            if (j < count) {
                out[j++] = static_cast<unsigned char>((a + b + 1) / 2);
            }
        }
        return;
    }
    std::size_t i = 0;
    std::int64_t fraction = 0;
    for (std::int64_t j = 0; j < count; ++j) {
        const std::int64_t a = in[i];
        const std::int64_t b = i + 1 < in.size() ? in[i + 1] : a;
        out[j] = static_cast<unsigned char>(
            (a * (kRenderRate - fraction) + b * fraction + kRenderRate / 2) / kRenderRate);
        fraction += rate;
        while (fraction >= kRenderRate) {
            fraction -= kRenderRate;
            ++i;
        }
    }
}

bool IsUsableSound(const SampleSound& sound) {
    return sound.sampleRate > 0 && sound.sampleRate <= kMaxSourceRate && !sound.samples.empty();
}

std::vector<std::int16_t> RenderFrames(const SampleSound& sound) {
    std::vector<unsigned char> bytes(static_cast<std::size_t>(RenderedLength(sound)));
    Resample(sound, bytes.data(), static_cast<std::int64_t>(bytes.size()));
    std::vector<std::int16_t> frames(bytes.size());
    std::transform(bytes.begin(), bytes.end(), frames.begin(),
                   [](unsigned char v) { return static_cast<std::int16_t>((v - 128) * 256); });
    return frames;
}

unsigned char NarrowFrame(std::int16_t frame) {
    // Rounded to the nearest step of 256 (an arithmetic shift rounds down).
    return static_cast<unsigned char>(std::clamp((frame + 128) >> 8, -128, 127) + 128);
}

namespace {

struct Placed {
    std::span<const std::int16_t> pcm; // at the render rate
    std::int64_t onset = 0;            // output sample of its tick
};

} // namespace

SampleSound CompiledInSound(std::string_view name) {
    const SampleImage image = FindSample(name);
    if (!image) {
        return {};
    }
    const std::optional<WaveInfo> wave = ParseWave(image.data, image.size);
    if (!wave || wave->channels != 1 || wave->bitsPerSample != 8) {
        return {};
    }
    return {wave->sampleRate, {wave->samples, wave->sampleCount}};
}

RenderedSounds::RenderedSounds(SoundSource source, std::int32_t speed, SampleFitting fitting)
    : m_source(std::move(source)), m_fitting(fitting), m_fitted(kRenderRate) {
    m_fitted.Prepare(speed);
}

std::span<const std::int16_t> RenderedSounds::Frames(std::string_view name) {
    auto it = m_frames.find(name);
    if (it == m_frames.end()) {
        const SampleSound sound = m_source(name);
        it = m_frames
                 .emplace(name,
                          IsUsableSound(sound) ? RenderFrames(sound) : std::vector<std::int16_t>{})
                 .first;
        if (m_fitting == SampleFitting::On && !it->second.empty()) {
            m_fitted.Add(name, it->second);
        }
    }
    return m_fitted.Find(name, it->second);
}

std::optional<std::vector<unsigned char>> RenderPassWave(const SpeechState& state,
                                                         const SoundSource& source,
                                                         std::string* error,
                                                         SampleFitting fitting) {
    if (state.speed > kMaxSpeed) {
        if (error != nullptr) {
            *error = "the speed " + std::to_string(state.speed) + " ms is above " +
                     std::to_string(kMaxSpeed) + " ms";
        }
        return std::nullopt;
    }
    const std::int64_t tickSamples = SpeechTimerInterval(state.speed) * kSamplesPerMs;

    // Every sample the pass plays, once, at the render rate (and fitted to the tick).
    RenderedSounds sounds(source, state.speed, fitting);

    // Lay the ticks out in time; a tick whose sample is missing plays nothing.
    std::vector<Placed> placed;
    std::int64_t tick = 0;
    RunPass(state, [&](const TickResult& t) {
        if (!t.sample.empty()) {
            if (const auto pcm = sounds.Frames(t.sample); !pcm.empty()) {
                placed.push_back({pcm, tick * tickSamples});
            }
        }
        ++tick;
    });

    // A new sample takes over from the one still sounding as the live output does it; every
    // start is known ahead here, so a cut sample always fades out before the next start.
    std::vector<std::int16_t> mix;
    SampleHandover handover(kRenderRate);
    const auto renderUntil = [&](std::int64_t end) {
        const auto from = static_cast<std::int64_t>(mix.size());
        if (end > from) {
            mix.resize(static_cast<std::size_t>(end));
            handover.Render(mix.data() + from, from, end);
        }
    };
    for (const Placed& p : placed) {
        handover.CutAt(p.onset);
        renderUntil(p.onset);
        handover.Start(p.pcm, p.onset);
    }
    renderUntil(std::max((tick - 1) * tickSamples, handover.End())); // the tick that ends the pass

    const auto total = static_cast<std::uint32_t>(mix.size());
    std::vector<unsigned char> image(kWaveHeaderSize + total);
    WriteHeader(image.data(), total);
    std::transform(mix.begin(), mix.end(), image.begin() + kWaveHeaderSize, NarrowFrame);
    return image;
}

} // namespace yomi6
