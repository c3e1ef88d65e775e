#include "speech/wav_render.h"

#include "speech/playback.h"
#include "speech/sample_store.h"
#include "speech/speech_pass.h"
#include "speech/wave_image.h"

#include <algorithm>
#include <memory>

namespace yomi6 {

namespace {

constexpr unsigned char kSilence = 128;
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

namespace {

struct Placed {
    SampleSound sound;
    std::int64_t onset = 0;  // output sample of its tick
    std::int64_t length = 0; // output samples it sounds, before any cut
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

std::vector<std::string_view> PassSchedule(const SpeechState& state) {
    std::vector<std::string_view> schedule;
    RunPass(state, [&](const TickResult& tick) {
        schedule.push_back(tick.sample.empty() ? kSilentTick : tick.sample);
    });
    return schedule;
}

std::optional<std::vector<unsigned char>>
RenderPassWave(const SpeechState& state, const SoundSource& source, std::string* error) {
    if (state.speed > kMaxSpeed) {
        if (error != nullptr) {
            *error = "the speed " + std::to_string(state.speed) + " ms is above " +
                     std::to_string(kMaxSpeed) + " ms";
        }
        return std::nullopt;
    }
    const std::int64_t tickSamples = SpeechTimerInterval(state.speed) * kSamplesPerMs;

    // Lay the ticks out in time; a tick whose sample is missing plays nothing.
    std::vector<Placed> placed;
    std::int64_t tick = 0;
    RunPass(state, [&](const TickResult& t) {
        if (!t.sample.empty()) {
            const SampleSound sound = source(t.sample);
            if (IsUsableSound(sound)) {
                placed.push_back({sound, tick * tickSamples, RenderedLength(sound)});
            }
        }
        ++tick;
    });

    std::int64_t total = (tick - 1) * tickSamples; // the tick that ends the pass
    if (!placed.empty()) {
        total = std::max(total, placed.back().onset + placed.back().length);
    }
    std::vector<unsigned char> image(kWaveHeaderSize + static_cast<std::size_t>(total), kSilence);
    WriteHeader(image.data(), static_cast<std::uint32_t>(total));
    unsigned char* data = image.data() + kWaveHeaderSize;
    for (std::size_t i = 0; i < placed.size(); ++i) {
        const Placed& p = placed[i];
        // A new sample stops the one still sounding.
        const std::int64_t cut = i + 1 < placed.size() ? placed[i + 1].onset - p.onset : p.length;
        Resample(p.sound, data + p.onset, std::min(p.length, cut));
    }
    return image;
}

} // namespace yomi6
