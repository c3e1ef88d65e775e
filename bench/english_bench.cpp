// The English pronouncing dictionary: opening it with the first lookup (what a reading pays
// at its first Latin word), a lookup once open, and a word's katakana from lookup to kana.
#include "english/english_kana.h"
#include "english/english_lexicon.h"
#include "english/english_reading.h"

#include <benchmark/benchmark.h>

namespace yomi6::english {
namespace {

void BM_EnglishOpenAndFirstLookup(benchmark::State& state) {
    for (auto _ : state) {
        EnglishLexicon lexicon;
        benchmark::DoNotOptimize(lexicon.Lookup("computer"));
    }
}
BENCHMARK(BM_EnglishOpenAndFirstLookup);

void BM_EnglishLookup(benchmark::State& state) {
    EnglishLexicon lexicon;
    if (!lexicon.Lookup("computer")) {
        state.SkipWithError("festlex-cmu is not installed");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(lexicon.Lookup("street"));
    }
}
BENCHMARK(BM_EnglishLookup);

void BM_EnglishKatakana(benchmark::State& state) {
    EnglishLexicon lexicon;
    for (auto _ : state) {
        benchmark::DoNotOptimize(EnglishKatakana("information", lexicon));
    }
}
BENCHMARK(BM_EnglishKatakana);

} // namespace
} // namespace yomi6::english
