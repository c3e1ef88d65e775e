// The two reading modes side by side on 4000 bytes of kanji-heavy prose (the sentences of the
// accuracy test set, which nobody on the project wrote): the dictionary reading with its source
// map, the automatic reading with the analyzer loaded (warm), and the first automatic reading
// of a run, the analyzer's dictionary load included.
#include "analysis/mecab_analyzer.h"
#include "dictionary/dic_tables.h"
#include "dictionary/dictionary.h"
#include "reading/automatic_reading.h"
#include "reading/reading_conversion.h"
#include "text/cp932_codec.h"
#include "text/utf8_codec.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>

namespace yomi6::bench {
namespace {

// The sentences of tests/accuracy/sentences.tsv in code page 932, joined up to 4000 bytes.
const std::string& KanjiProse() {
    static const std::string text = [] {
        std::ifstream in(YOMI6_SOURCE_DIR "/tests/accuracy/sentences.tsv");
        std::string line;
        std::string out;
        while (out.size() < kMaxTextBytes && std::getline(in, line)) {
            const std::size_t a = line.find('\t');
            const std::size_t b = line.find('\t', a + 1);
            if (a == std::string::npos || b == std::string::npos) {
                continue;
            }
            out += EncodeCp932(DecodeUtf8(line.substr(a + 1, b - a - 1)), EncodeOptions{}).bytes;
        }
        out.resize(std::min(out.size(), kMaxTextBytes));
        return out;
    }();
    return text;
}

Analyzer& WarmAnalyzer() {
    static const std::unique_ptr<Analyzer> analyzer = [] {
        std::string error;
        return OpenMecabAnalyzer(std::string(kDefaultAnalyzerDictionary), error);
    }();
    return *analyzer;
}

void BM_ReadProseDictionaryMode(benchmark::State& state) {
    const Dictionary dictionary; // the built-in rows
    const std::string& text = KanjiProse();
    unsigned char reading[kReadingBufferSize];
    SourceRange source[kReadingBufferSize];
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            ConvertWithSourceMap(reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                                 dictionary.View(), reading, source));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}

void BM_ReadProseAutomaticMode(benchmark::State& state) {
    const Dictionary dictionary; // the built-in rows
    const std::string& text = KanjiProse();
    Analyzer& analyzer = WarmAnalyzer();
    unsigned char reading[kReadingBufferSize];
    SourceRange source[kReadingBufferSize];
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            ConvertAutomatic(reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                             dictionary.View(), analyzer, reading, source));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}

// Opening the analyzer (its dictionary files mapped, their first pages read) and one reading.
void BM_FirstAutomaticReadingWithLoad(benchmark::State& state) {
    const Dictionary dictionary; // the built-in rows
    const std::string& text = KanjiProse();
    unsigned char reading[kReadingBufferSize];
    SourceRange source[kReadingBufferSize];
    for (auto _ : state) {
        std::string error;
        const auto analyzer = OpenMecabAnalyzer(std::string(kDefaultAnalyzerDictionary), error);
        benchmark::DoNotOptimize(
            ConvertAutomatic(reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                             dictionary.View(), *analyzer, reading, source));
    }
}

BENCHMARK(BM_ReadProseDictionaryMode)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadProseAutomaticMode)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FirstAutomaticReadingWithLoad)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
} // namespace yomi6::bench
