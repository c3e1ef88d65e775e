#include "speaking/reading_source.h"

#include "analysis/analyzer_loader.h"
#include "playback/speech_state.h"
#include "reading/reading_mode.h"

namespace yomi6 {

ReadingProvider CurrentReadingProvider(const SpeechPreferences& preferences) {
    // The mode is looked up at each call, so a window open across a switch follows it.
    return [&preferences](std::string_view text) {
        return ModeReading(text, ResolveReadingMode(preferences.readings, ProcessAnalyzer()));
    };
}

ReadingProvider AutomaticReadingProvider() {
    return [](std::string_view text) { return ModeReading(text, ReadingMode::Automatic); };
}

} // namespace yomi6
