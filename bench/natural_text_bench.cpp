// What the natural voice's engine text costs per chunk, beside the engine run it precedes (about
// 100 ms of a sentence): a sentence of prose through the automatic reading, with the analyzer
// opened for it as each chunk opens its own, against the chunk as written (no analyzer); and a
// sentence of Aozora notation with its notation.
#include "analysis/mecab_analyzer.h"
#include "aozora/aozora_notation.h"
#include "natural/engine_text.h"
#include "text/cp932_codec.h"

#include <benchmark/benchmark.h>

#include <string>

namespace yomi6::bench {
namespace {

std::string Sjis(std::u16string_view text) {
    return EncodeCp932(text, EncodeOptions{LineEnd::CrLf, OnUnencodable::Replace}).bytes;
}

void BM_EngineTextOfASentence(benchmark::State& state) {
    const std::string text = Sjis(u"二三人の男が、都に上る途中で羅生門の下に雨やみを待っていた。");
    const std::string folder =
        state.range(0) != 0 ? std::string(kDefaultAnalyzerDictionary) : "/nonexistent";
    for (auto _ : state) {
        benchmark::DoNotOptimize(natural::BuildEngineText(text, {0, text.size()}, nullptr, folder));
    }
}
BENCHMARK(BM_EngineTextOfASentence)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_EngineTextOfAnAozoraSentence(benchmark::State& state) {
    const std::string text = Sjis(
        u"吾輩《わがはい》は猫である。［＃「猫」に傍点］森※［＃「區＋鳥」、第3水準1-94-69］外の"
        u"｜丹塗《にぬり》の柱。");
    const AozoraNotation notation = ParseAozoraNotation(text);
    for (auto _ : state) {
        benchmark::DoNotOptimize(natural::BuildEngineText(
            text, {0, text.size()}, nullptr, std::string(kDefaultAnalyzerDictionary), &notation));
    }
}
BENCHMARK(BM_EngineTextOfAnAozoraSentence)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace yomi6::bench
