// Aozora notation's costs: finding whether a whole document (about 1 MB, the editor's largest)
// is in the notation, as every whole-document reading and each refresh of the reading pane do;
// parsing one pass of 4000 bytes; the automatic reading of that pass with and without it; and
// finding and parsing one line of opening marks that nothing closes, at growing lengths, where
// the time must grow with the length, not with its square.
#include "analysis/mecab_analyzer.h"
#include "aozora/aozora_notation.h"
#include "dictionary/dictionary.h"
#include "reading/automatic_reading.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>

namespace yomi6::bench {
namespace {

std::string TestFile() {
    std::ifstream in(YOMI6_SOURCE_DIR "/tests/aozora/rashomon.txt", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// About 1 MB of prose; with notation only in its last line when marked is false, so that
// finding it takes the whole text.
std::u16string Document(bool marked) {
    const std::u16string line = u"ある日の暮方の事である。一人の男が門の下で雨やみを待っていた。\n";
    std::u16string text;
    while (text.size() * 2 < (1u << 20)) {
        text += line;
    }
    return marked ? text + u"［＃改ページ］\n" : text;
}

void BM_DetectInADocument(benchmark::State& state) {
    const std::u16string text = Document(state.range(0) != 0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadsAsAozora(AozoraMode::Auto, text));
    }
}
BENCHMARK(BM_DetectInADocument)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ParseAPass(benchmark::State& state) {
    std::string text;
    while (text.size() < kMaxTextBytes) {
        text += TestFile();
    }
    text.resize(kMaxTextBytes);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ParseAozoraNotation(text));
    }
}
BENCHMARK(BM_ParseAPass)->Unit(benchmark::kMicrosecond);

void BM_ReadAPass(benchmark::State& state) {
    std::string error;
    static const auto analyzer = OpenMecabAnalyzer(std::string(kDefaultAnalyzerDictionary), error);
    if (!analyzer) {
        state.SkipWithError(error.c_str());
        return;
    }
    const std::string text = TestFile();
    const bool aozora = state.range(0) != 0;
    static unsigned char reading[kReadingBufferSize];
    static SourceRange source[kReadingBufferSize];
    const Dictionary dictionary; // the built-in rows
    for (auto _ : state) {
        const AozoraNotation notation = aozora ? ParseAozoraNotation(text) : AozoraNotation{};
        benchmark::DoNotOptimize(ConvertAutomatic(
            reinterpret_cast<const unsigned char*>(text.data()), text.size(), dictionary.View(),
            *analyzer, reading, source, aozora ? &notation : nullptr));
    }
}
BENCHMARK(BM_ReadAPass)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// One line of a mark that opens notation, repeated to about bytes bytes (code page 932):
// ［＃ (0), 《 (1), 〔 (2), ※［＃ (3), and a gaiji note that says 水準 and no code (4).
std::string HostileLine(std::int64_t mark, std::size_t bytes) {
    static const char* const kMarks[] = {"\x81\x6D\x81\x94", "\x81\x73", "\x81\x6B",
                                         "\x81\xA6\x81\x6D\x81\x94"};
    std::string line;
    if (mark == 4) {
        line = "\x81\xA6\x81\x6D\x81\x94"; // ※［＃ then 水準 over and over, then ］
        while (line.size() < bytes) {
            line += "\x90\x85\x8F\x80"; // 水準
        }
        return line + "\x81\x6E";
    }
    while (line.size() < bytes) {
        line += kMarks[mark];
    }
    return line;
}

void BM_DetectAHostileLine(benchmark::State& state) {
    const std::string line =
        HostileLine(state.range(0), static_cast<std::size_t>(state.range(1)) << 10);
    for (auto _ : state) {
        benchmark::DoNotOptimize(LooksLikeAozora(line));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(line.size()));
}
BENCHMARK(BM_DetectAHostileLine)
    ->ArgsProduct({{0, 1, 2, 3, 4}, {64, 256, 1024}})
    ->Unit(benchmark::kMillisecond);

void BM_ParseAHostileLine(benchmark::State& state) {
    // After a line with a ruby, so that the text is read as notation whatever the line holds.
    const std::string line =
        "\x96\x7B\x81\x73\x82\xD9\x82\xF1\x81\x74\r\n" + // 本《ほん》
        HostileLine(state.range(0), static_cast<std::size_t>(state.range(1)) << 10);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ParseAozoraNotation(line));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(line.size()));
}
BENCHMARK(BM_ParseAHostileLine)
    ->ArgsProduct({{0, 1, 2, 3, 4}, {64, 256, 1024}})
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace yomi6::bench
