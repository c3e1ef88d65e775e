#include "speech/speech_state.h"

namespace yomi6 {

SpeechState g_speech;

void StartSpeech(SpeechState& state, const unsigned char* text, std::size_t n,
                 const ReaderSetup& setup) {
    state.stopRequest = state.speaking != 0 ? 1 : 0;
    state.speaking = 1;
    const ReadingMode mode = ResolveReadingMode(state.readings, setup);
    const ReadingResult result = ReadText(text, n, mode, setup, state.reading, state.source);
    state.playIndex = 0;
    state.secondByteIndex = -1;
    state.endIndex = static_cast<std::int32_t>(result.length);
    state.sourceEnd = static_cast<std::int32_t>(result.sourceEnd);
}

} // namespace yomi6
