// The automatic reading of arbitrary bytes with the real analyzer (MeCab over the system's
// IPADIC) and a few user words taken from the input: the reading stays inside its buffer, every
// reading byte's source range lies inside the text, the ranges never go backwards, and every
// tick of a pass reports a range inside the text that never goes backwards either.
#include "analysis/mecab_analyzer.h"
#include "fuzz_user_rows.h"
#include "playback/speech_pass.h"
#include "playback/speech_state.h"
#include "reading/automatic_reading.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

yomi6::Analyzer& TheAnalyzer() {
    static const std::unique_ptr<yomi6::Analyzer> analyzer = [] {
        std::string error;
        auto a = yomi6::OpenMecabAnalyzer(std::string(yomi6::kDefaultAnalyzerDictionary), error);
        if (!a) {
            std::abort(); // the fuzz target needs the analyzer's dictionary installed
        }
        return a;
    }();
    return *analyzer;
}

void Check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Up to 8 user words from the front of the input (a length byte, then the word), then the text.
    fuzz::UserRows::Begin();
    yomi6::Dictionary& dictionary = fuzz::UserRows::Dictionary();
    std::size_t pos = 0;
    int slot = yomi6::kBuiltinRows;
    while (pos < size && data[pos] < 0x0D && slot < yomi6::kBuiltinRows + 8) {
        const std::size_t length = 1 + data[pos] % 12u;
        ++pos;
        std::size_t k = 0;
        for (; k < length && pos < size; ++k, ++pos) {
            dictionary.Tables().word[slot][k] = static_cast<char>(data[pos] == 0 ? 1 : data[pos]);
        }
        std::memset(dictionary.Tables().yomi[slot], 0xB1 + slot % 40, 1 + k % 20);
        ++slot;
    }
    fuzz::UserRows::End(slot);
    const std::uint8_t* text = data + pos;
    const std::size_t n = size - pos;
    const std::size_t cut = std::min(n, yomi6::kMaxTextBytes);

    const auto state = std::make_unique<yomi6::SpeechState>();
    const yomi6::ReadingResult r = yomi6::ConvertAutomatic(
        text, n, dictionary.View(), TheAnalyzer(), state->reading, state->source);
    Check(r.length < yomi6::kReadingBufferSize && state->reading[r.length] == 0);
    Check(r.sourceEnd <= cut);
    for (std::size_t i = 0; i < r.length; ++i) {
        const yomi6::SourceRange& s = state->source[i];
        Check(s.begin < s.end && s.end <= cut);
        if (i > 0 && !(s == state->source[i - 1])) {
            Check(s.begin >= state->source[i - 1].end);
        }
    }

    state->endIndex = static_cast<std::int32_t>(r.length);
    state->sourceEnd = static_cast<std::int32_t>(r.sourceEnd);
    std::size_t lastBegin = 0;
    yomi6::RunPass(*state, [&](const yomi6::TickResult& tick) {
        Check(tick.source.begin <= tick.source.end && tick.source.end <= cut);
        Check(tick.source.begin >= lastBegin);
        lastBegin = tick.source.begin;
    });
    return 0;
}
