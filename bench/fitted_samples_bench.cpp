// The cost of fitting the samples to a fast tick: every compiled-in sample of both voices
// decoded as the sound output plays them (16-bit, 44100 Hz) and time-scaled to the tick of one
// speed, as the editor and --speak do once per speed before the first tick; and the same at
// the rate of the rendered files.
#include "playback/fitted_samples.h"
#include "voice/sample_store.h"
#include "wave/sample_pcm.h"
#include "wave/wave_decoder.h"

#include <benchmark/benchmark.h>
#include <string_view>
#include <utility>
#include <vector>

namespace yomi6::bench {
namespace {

std::vector<std::pair<std::string_view, std::vector<std::int16_t>>> DecodedSamples(int rate) {
    std::vector<std::pair<std::string_view, std::vector<std::int16_t>>> samples;
    for (const std::string_view name : SampleNames()) {
        const SampleImage image = FindSample(name);
        if (const auto wave = ParseWave(image.data, image.size)) {
            samples.emplace_back(name, DecodeSamplePcm(*wave, rate));
        }
    }
    return samples;
}

void FitAllSamples(benchmark::State& state) {
    const int rate = static_cast<int>(state.range(0));
    const auto speed = static_cast<std::int32_t>(state.range(1));
    const auto samples = DecodedSamples(rate);
    std::size_t fitted = 0;
    for (auto _ : state) {
        FittedSamples set(rate);
        set.Prepare(speed);
        for (const auto& [name, pcm] : samples) {
            set.Add(name, pcm);
        }
        fitted = set.size();
        benchmark::DoNotOptimize(fitted);
    }
    state.counters["scaled"] = static_cast<double>(fitted);
}
BENCHMARK(FitAllSamples)
    ->Args({kOutputSampleRate, 120})
    ->Args({kOutputSampleRate, 60})
    ->Args({16000, 120})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

} // namespace
} // namespace yomi6::bench
