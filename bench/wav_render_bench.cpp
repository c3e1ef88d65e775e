// One pass of a 4000-byte text rendered as a WAVE image with the compiled-in samples: a
// Japanese text read against a full dictionary, and the worst case of 4000 half-width kana
// (one tick per byte), at the default speed and at the slowest.
#include "analysis/analyzer_loader.h"
#include "bench_data.h"

#include "dictionary/dictionary.h"
#include "playback/speech_state.h"
#include "playback/wav_render.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace yomi6::bench {
namespace {

// 4000 bytes of half-width kana cycling through ｱ..ﾝ: every byte is a unit of its own.
std::string KanaText() {
    std::string text;
    for (int i = 0; text.size() < kMaxTextBytes; ++i) {
        text.push_back(static_cast<char>(0xB1 + i % 45));
    }
    return text;
}

void Render(benchmark::State& state, const std::string& text, std::int32_t speed) {
    static const std::string dictionary = FullDictionaryImage();
    Dictionary full;
    full.RebuildUserRows(reinterpret_cast<const unsigned char*>(dictionary.data()));
    AnalyzerLoader analyzer;
    const auto speech = std::make_unique<SpeechState>();
    StartSpeech(*speech, reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                ReaderSetup(full.View(), analyzer));
    speech->speed = speed;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const auto image = RenderPassWave(*speech, CompiledInSound);
        bytes = image ? image->size() : 0;
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["ticks"] = static_cast<double>(PassSchedule(*speech).size());
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

void BM_RenderJapaneseText(benchmark::State& state) {
    Render(state, JapaneseText(), static_cast<std::int32_t>(state.range(0)));
}
void BM_RenderKanaText(benchmark::State& state) {
    Render(state, KanaText(), static_cast<std::int32_t>(state.range(0)));
}
void BM_ScheduleKanaText(benchmark::State& state) {
    const std::string text = KanaText();
    const Dictionary dictionary; // the built-in rows
    AnalyzerLoader analyzer;
    const auto speech = std::make_unique<SpeechState>();
    StartSpeech(*speech, reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                ReaderSetup(dictionary.View(), analyzer));
    for (auto _ : state) {
        benchmark::DoNotOptimize(PassSchedule(*speech).size());
    }
}

BENCHMARK(BM_RenderJapaneseText)->Arg(180)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderKanaText)->Arg(180)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScheduleKanaText)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace yomi6::bench
