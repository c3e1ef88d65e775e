// The reading of a 4000-byte text against a full dictionary: the indexed lookup beside the
// linear reference scan.
#include "bench_data.h"

#include "dictionary/dictionary.h"
#include "reading/reading_conversion.h"

#include <benchmark/benchmark.h>

namespace yomi6::bench {
namespace {

void Convert(benchmark::State& state, DicLookup lookup) {
    static const std::string image = FullDictionaryImage();
    Dictionary dictionary;
    dictionary.RebuildUserRows(reinterpret_cast<const unsigned char*>(image.data()));
    const DictionaryView view = dictionary.View(lookup);
    const std::string text = JapaneseText();
    unsigned char reading[kReadingBufferSize];
    for (auto _ : state) {
        benchmark::DoNotOptimize(ConvertToReading(
            reinterpret_cast<const unsigned char*>(text.data()), text.size(), view, reading));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}

void BM_ConvertIndexed(benchmark::State& state) {
    Convert(state, DicLookup::Indexed);
}
void BM_ConvertLinearReference(benchmark::State& state) {
    Convert(state, DicLookup::LinearReference);
}

BENCHMARK(BM_ConvertIndexed)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ConvertLinearReference)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace yomi6::bench
