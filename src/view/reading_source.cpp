#include "view/reading_source.h"

#include "speech/analyzer_loader.h"
#include "speech/reading_mode.h"
#include "speech/speech_state.h"

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
