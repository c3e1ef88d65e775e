// The engine's trace as it might come back spoiled: whatever it holds, reading it, cutting text
// into chunks and mapping its morae onto text must not crash, and every range stays inside the
// chunk. The input is a trace, then a NUL, then the text (code page 932) it is aligned with.
#include "natural/alignment.h"
#include "natural/chunking.h"
#include "natural/engine_text.h"
#include "natural/trace_parser.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace yomi6::natural;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = input.find('\0');
    const std::string_view traceText = input.substr(0, nul);
    const std::string_view text = nul == std::string_view::npos ? "" : input.substr(nul + 1);
    for (const ByteRange& chunk : SplitChunks(text, {20, 8})) {
        if (chunk.end > text.size() || chunk.begin >= chunk.end) {
            std::abort();
        }
    }
    const auto trace = ParseTrace(traceText);
    if (!trace) {
        return 0;
    }
    const ByteRange chunk{0, text.size()};
    const EngineText engineText = BuildEngineText(text, chunk, nullptr);
    const auto placed = PlaceMorphemes(engineText, trace->morphemes, chunk);
    for (const AlignedMora& mora : AlignMorae(*trace, placed, chunk)) {
        if (mora.source.begin > mora.source.end || mora.source.end > chunk.end) {
            std::abort();
        }
    }
    return 0;
}
