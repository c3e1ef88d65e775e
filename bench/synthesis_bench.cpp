// Synthesis in our own process with the real voice: how soon the first sound of a sentence is
// ready, and CPU per second of audio, for a short and a long sentence; and loading the voice.
// The labels come from the open_jtalk program (a stand-in until our own labels land), made once
// before the timing. Run on demand: build/bench/synthesis_bench (the voice of the source tree,
// or $YOMI6_NATURAL_VOICE_DIR).
#include "support/open_jtalk_labels.h"
#include "synthesis/hts_voice.h"
#include "synthesis/synthesizer.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <stop_token>

namespace {

using namespace yomi6::synthesis;
using Clock = std::chrono::steady_clock;

const char* const kSentences[] = {
    "今日は良い天気ですね。",
    "何でも薄暗いじめじめした所でニャーニャー泣いていた事だけは記憶している、吾輩はここで"
    "始めて人間というものを見た、しかもあとで聞くとそれは書生という人間中で一番獰悪な種族で"
    "あったそうだ。",
};

std::string VoiceFolder() {
    const char* named = std::getenv("YOMI6_NATURAL_VOICE_DIR");
    return named != nullptr ? named : YOMI6_SOURCE_DIR "/voices/tohoku-f01";
}

std::shared_ptr<const HtsVoice> Voice() {
    static const HtsVoice::Loaded loaded = HtsVoice::Load(StyleVoiceFiles(VoiceFolder(), {}));
    return loaded.voice;
}

const std::vector<std::string>* Labels(std::size_t sentence) {
    static const std::vector<std::optional<yomi6::test::OpenJTalkRun>> runs = [] {
        std::vector<std::optional<yomi6::test::OpenJTalkRun>> made;
        for (const char* text : kSentences) {
            made.push_back(yomi6::test::RunOpenJTalk(
                text,
                yomi6::natural::FindVoiceFile(yomi6::natural::Style::Neutral, VoiceFolder(), {})));
        }
        return made;
    }();
    return runs[sentence] ? &runs[sentence]->labels : nullptr;
}

bool Ready(benchmark::State& state, std::size_t sentence) {
    if (Voice() == nullptr || Labels(sentence) == nullptr) {
        state.SkipWithError("no voice, or no open_jtalk for the labels");
        return false;
    }
    return true;
}

// Stops at the first block, noting when it came.
struct FirstBlock : SynthesisSink {
    std::stop_source stop;
    Clock::time_point at;
    std::size_t frames = 0;
    void Timed(std::span<const PhonemeTime>, int) override {}
    void Sound(std::span<const std::int16_t> block) override {
        at = Clock::now();
        frames = block.size();
        stop.request_stop();
    }
};

struct Counting : SynthesisSink {
    std::size_t frames = 0;
    void Timed(std::span<const PhonemeTime>, int) override {}
    void Sound(std::span<const std::int16_t> block) override { frames += block.size(); }
};

// From the labels to the first block of sound, which holds the silence before the speech and
// at least 150 ms of speech. range(1): 0 the sentence made at once (for comparison), 1 in
// blocks, 2 in blocks with the silence before the speech cut to 60 ms (what the natural voice
// keeps today).
void BM_FirstSound(benchmark::State& state) {
    const auto sentence = static_cast<std::size_t>(state.range(0));
    if (!Ready(state, sentence)) {
        return;
    }
    Synthesizer synthesizer(Voice());
    SynthesisOptions options;
    if (state.range(1) == 0) {
        options.block = std::chrono::milliseconds(0);
    }
    if (state.range(1) == 2) {
        options.maxLeadingSilence = std::chrono::milliseconds(60);
    }
    std::size_t frames = 0;
    for (auto _ : state) {
        FirstBlock sink;
        const auto start = Clock::now();
        synthesizer.Synthesize(*Labels(sentence), options, sink.stop.get_token(), sink);
        state.SetIterationTime(std::chrono::duration<double>(sink.at - start).count());
        frames = sink.frames;
    }
    state.counters["first_block_ms"] = static_cast<double>(frames) * 1000.0 / 48000.0;
}
BENCHMARK(BM_FirstSound)
    ->ArgsProduct({{0, 1}, {0, 1, 2}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The whole sentence; audio_s is seconds of sound per second of CPU.
void BM_WholeSentence(benchmark::State& state) {
    const auto sentence = static_cast<std::size_t>(state.range(0));
    if (!Ready(state, sentence)) {
        return;
    }
    Synthesizer synthesizer(Voice());
    std::size_t frames = 0;
    for (auto _ : state) {
        Counting sink;
        synthesizer.Synthesize(*Labels(sentence), {}, {}, sink);
        frames = sink.frames;
    }
    state.counters["audio_s"] = benchmark::Counter(static_cast<double>(frames) / 48000.0,
                                                   benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_WholeSentence)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_LoadVoice(benchmark::State& state) {
    const auto files = StyleVoiceFiles(VoiceFolder(), {});
    for (auto _ : state) {
        benchmark::DoNotOptimize(HtsVoice::Load(files));
    }
}
BENCHMARK(BM_LoadVoice)->Unit(benchmark::kMillisecond);

} // namespace
