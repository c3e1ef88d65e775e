#include "playback/speech_state.h"

namespace yomi6 {

void StartSpeech(const SpeechPreferences& preferences, SpeechTickState& session,
                 const unsigned char* text, std::size_t n, const ReaderSetup& setup) {
    session.stopRequest = session.speaking != 0 ? 1 : 0;
    session.speaking = 1;
    const ReadingMode mode = ResolveReadingMode(preferences.readings, setup);
    const ReadingResult result = ReadText(text, n, mode, setup, session.reading, session.source);
    session.playIndex = 0;
    session.secondByteIndex = -1;
    session.endIndex = static_cast<std::int32_t>(result.length);
    session.sourceEnd = static_cast<std::int32_t>(result.sourceEnd);
}

} // namespace yomi6
