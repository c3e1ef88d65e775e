#include "speech/speech_state.h"

namespace yomi6 {

SpeechState g_speech;

void StartSpeech(SpeechState& state, const unsigned char* text, std::size_t n, DicLookup lookup) {
    state.stopRequest = state.speaking != 0 ? 1 : 0;
    state.speaking = 1;
    const std::size_t length = ConvertToReading(text, n, state.reading, lookup);
    state.playIndex = 0;
    state.endIndex = static_cast<std::int32_t>(length);
}

} // namespace yomi6
