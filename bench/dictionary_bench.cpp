// Loading a full dictionary file and rebuilding the tables; the word index is built by the
// first reading after a load.
#include "bench_data.h"

#include "dictionary/dic_tables.h"
#include "dictionary/dictionary.h"
#include "reading/reading_conversion.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

namespace yomi6::bench {
namespace {

class NullSink : public IMessageSink {
public:
    void ShowMessage(std::string_view, MessageBoxType) override { ++count; }
    int count = 0;
};

void BM_LoadFullDictionaryFile(benchmark::State& state) {
    char dir[] = "/tmp/yomi6-bench-XXXXXX";
    if (::mkdtemp(dir) == nullptr) {
        state.SkipWithError("mkdtemp failed");
        return;
    }
    const std::string path = std::string(dir) + "/Yomi6.dic";
    {
        const std::string image = FullDictionaryImage();
        std::ofstream(path, std::ios::binary)
            .write(image.data(), static_cast<std::streamsize>(image.size()));
    }
    Dictionary dictionary(path);
    NullSink sink;
    for (auto _ : state) {
        dictionary.Load(sink);
        benchmark::DoNotOptimize(dictionary.Tables().UsedSlots());
    }
    if (sink.count != 0 || dictionary.Tables().UsedSlots() != kDicSlots) {
        state.SkipWithError("the dictionary did not load whole");
    }
    std::remove(path.c_str());
    ::rmdir(dir);
}

void BM_RebuildTablesFromImage(benchmark::State& state) {
    const std::string image = FullDictionaryImage();
    Dictionary dictionary;
    for (auto _ : state) {
        dictionary.RebuildUserRows(reinterpret_cast<const unsigned char*>(image.data()));
        benchmark::ClobberMemory();
    }
}

// What `yomi6 --reading` pays for a full dictionary in the dictionary reading: the tables
// from the image, then one 4000-byte reading, whose first lookup builds the part of the word
// index that reading needs (the user-row part, which only the automatic reading uses, is not
// built).
void BM_RebuildThenReadInTheDictionaryMode(benchmark::State& state) {
    const std::string image = FullDictionaryImage();
    const std::string text = JapaneseText();
    unsigned char reading[kReadingBufferSize];
    Dictionary dictionary;
    for (auto _ : state) {
        dictionary.RebuildUserRows(reinterpret_cast<const unsigned char*>(image.data()));
        benchmark::DoNotOptimize(
            ConvertToReading(reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                             dictionary.View(), reading));
        benchmark::ClobberMemory();
    }
}

BENCHMARK(BM_LoadFullDictionaryFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RebuildTablesFromImage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RebuildThenReadInTheDictionaryMode)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace yomi6::bench
