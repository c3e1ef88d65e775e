// Opening and saving the largest document the editor takes (1,048,575 bytes): the code page 932
// codec alone, whole documents in code page 932 and in UTF-8, and the speech bytes of the text.
#include "bench_data.h"

#include "text/cp932_codec.h"
#include "text/document_encoding.h"
#include "text/speech_text.h"

#include <benchmark/benchmark.h>

namespace yomi6::bench {
namespace {

// A Shift-JIS file of exactly kMaxDocumentBytes bytes: Japanese lines with CR LF line ends.
const std::string& LargestShiftJisFile() {
    static const std::string file = [] {
        const std::string text = JapaneseText();
        std::string bytes;
        while (bytes.size() < kMaxDocumentBytes) {
            for (std::size_t i = 0; i < text.size(); i += 80) {
                bytes.append(text, i, 80);
                bytes += "\r\n";
            }
        }
        bytes.resize(kMaxDocumentBytes);
        return bytes;
    }();
    return file;
}

// The same text as a UTF-8 file cut to at most kMaxDocumentBytes bytes at a line end.
const std::string& LargestUtf8File() {
    static const std::string file = [] {
        const DecodedDocument document = DecodeDocument(LargestShiftJisFile());
        std::string bytes = EncodeDocument(document.text, {TextEncoding::Utf8, LineEnd::CrLf},
                                           OnUnencodable::Replace)
                                .bytes;
        bytes.resize(bytes.rfind("\r\n", kMaxDocumentBytes - 2) + 2);
        return bytes;
    }();
    return file;
}

void SetBytes(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(bytes));
}

void BM_DecodeCp932(benchmark::State& state) {
    const std::string& file = LargestShiftJisFile();
    for (auto _ : state) {
        benchmark::DoNotOptimize(DecodeCp932(file));
    }
    SetBytes(state, file.size());
}

void BM_EncodeCp932(benchmark::State& state) {
    const std::string& file = LargestShiftJisFile();
    const std::u16string text = DecodeCp932(file);
    for (auto _ : state) {
        benchmark::DoNotOptimize(EncodeCp932(text, {}));
    }
    SetBytes(state, file.size());
}

void BM_OpenDocument(benchmark::State& state, const std::string& file) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(DecodeDocument(file));
    }
    SetBytes(state, file.size());
}

void BM_SaveDocument(benchmark::State& state, const std::string& file) {
    const DecodedDocument document = DecodeDocument(file);
    for (auto _ : state) {
        benchmark::DoNotOptimize(EncodeDocument(document.text, document.format));
    }
    SetBytes(state, file.size());
}

void BM_OpenShiftJisDocument(benchmark::State& state) {
    BM_OpenDocument(state, LargestShiftJisFile());
}
void BM_SaveShiftJisDocument(benchmark::State& state) {
    BM_SaveDocument(state, LargestShiftJisFile());
}
void BM_OpenUtf8Document(benchmark::State& state) {
    BM_OpenDocument(state, LargestUtf8File());
}
void BM_SaveUtf8Document(benchmark::State& state) {
    BM_SaveDocument(state, LargestUtf8File());
}

// The speak command converts only what it reads: the first 4000 bytes.
void BM_SpeechBytesOfLargestText(benchmark::State& state) {
    const std::u16string text = DecodeDocument(LargestShiftJisFile()).text;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SpeechBytes(text, 4000));
    }
}

BENCHMARK(BM_DecodeCp932)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeCp932)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenShiftJisDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveShiftJisDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenUtf8Document)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveUtf8Document)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpeechBytesOfLargestText)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace yomi6::bench
