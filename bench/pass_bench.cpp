// The start of a pass of a long reading on a 1,048,575-byte document read from its top, in both
// reading modes: cutting the pass, converting its characters and reading them. The benchmark
// walks the document pass by pass (starting again at the top at its end) and reports the
// resident memory's growth over the walk as a counter.
#include "analysis/analyzer_loader.h"
#include "bench_data.h"

#include "dictionary/dictionary.h"
#include "playback/long_reading.h"
#include "playback/speech_state.h"
#include "text/cp932_codec.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <unistd.h>

namespace yomi6::bench {
namespace {

constexpr std::size_t kDocumentBytes = 1048575;

// JapaneseText() as UTF-16 with a line break after every sentence, repeated to just under the
// document size in code page 932 bytes.
const std::u16string& LongDocument() {
    static const std::u16string document = [] {
        std::string bytes;
        const std::string piece = JapaneseText() + "\r\n";
        while (bytes.size() + piece.size() <= kDocumentBytes) {
            bytes += piece;
        }
        std::u16string text = DecodeCp932(bytes);
        return text;
    }();
    return document;
}

long ResidentKiB() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

void PassStart(benchmark::State& state, std::int32_t readings) {
    static const std::string image = FullDictionaryImage();
    Dictionary dictionary;
    dictionary.RebuildUserRows(reinterpret_cast<const unsigned char*>(image.data()));
    AnalyzerLoader analyzer;
    const ReaderSetup setup(dictionary.View(), analyzer);
    const std::u16string& text = LongDocument();
    auto speech = std::make_unique<SpeechState>();
    speech->readings = readings;
    LongReading reading;
    reading.Begin(text, 0, text.size());
    // One pass first, so that the analyzer's loading is not counted.
    reading.LoadNextPass(*speech, setup, true);
    // The resident memory after the first walk through the document (when every page the
    // reading touches has been touched once) against the start of the last walk.
    long afterFirstWalk = 0;
    long lastWalkStart = 0;
    std::int64_t passes = 0;
    std::int64_t walks = 0;
    std::size_t lastOffset = reading.PassOffset();
    for (auto _ : state) {
        speech->speaking = 0;
        benchmark::DoNotOptimize(reading.LoadNextPass(*speech, setup, true));
        ++passes;
        if (reading.PassOffset() < lastOffset) {
            // Back at the top: a walk through the whole document has ended.
            if (++walks == 1) {
                afterFirstWalk = ResidentKiB();
            }
            lastWalkStart = ResidentKiB();
        }
        lastOffset = reading.PassOffset();
    }
    if (walks < 2) {
        state.SkipWithError("fewer than two walks through the document");
        return;
    }
    state.counters["passes_per_walk"] = static_cast<double>(passes) / static_cast<double>(walks);
    state.counters["walks"] = static_cast<double>(walks);
    state.counters["rss_growth_after_first_walk_KiB"] =
        static_cast<double>(lastWalkStart - afterFirstWalk);
}

void BM_PassStartDictionary(benchmark::State& state) {
    PassStart(state, kReadingsDictionary);
}
void BM_PassStartAutomatic(benchmark::State& state) {
    PassStart(state, kReadingsAutomatic);
}

// Enough iterations to walk the whole document four times (600 to 1100 passes a walk: a pass ends
// where its reading fills the buffer).
BENCHMARK(BM_PassStartDictionary)->Unit(benchmark::kMillisecond)->Iterations(5000);
BENCHMARK(BM_PassStartAutomatic)->Unit(benchmark::kMillisecond)->Iterations(5000);

} // namespace
} // namespace yomi6::bench
