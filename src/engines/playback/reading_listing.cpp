#include "playback/reading_listing.h"

#include "playback/speech_pass.h"
#include "playback/speech_state.h"

#include <memory>

namespace yomi6 {

ReadingListing ListReading(const unsigned char* text, std::size_t n, ReadingMode mode,
                           VoiceSlot voice, const ReaderSetup& setup) {
    const auto state = std::make_unique<SpeechState>();
    const ReadingResult result = ReadText(text, n, mode, setup, state->reading, state->source);
    state->endIndex = static_cast<std::int32_t>(result.length);
    state->sourceEnd = static_cast<std::int32_t>(result.sourceEnd);
    state->voice = voice;

    ReadingListing listing;
    listing.reading.assign(reinterpret_cast<const char*>(state->reading), result.length);
    listing.source.assign(state->source, state->source + result.length);
    listing.silent.assign(result.length, false);
    RunPass(*state, [&listing](const TickResult& tick) {
        if (tick.unitLength > 0 && tick.sample.empty()) {
            const auto begin = static_cast<std::size_t>(tick.unitBegin);
            for (std::size_t i = 0; i < static_cast<std::size_t>(tick.unitLength); ++i) {
                listing.silent[begin + i] = true;
            }
        }
    });
    return listing;
}

} // namespace yomi6
