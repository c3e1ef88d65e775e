#include "speaking/reading_source.h"

#include "analysis/analyzer_loader.h"
#include "playback/speech_state.h"
#include "reading/reading_mode.h"
#include "speaking/app_context.h"

namespace yomi6 {

ReadingProvider CurrentReadingProvider(AppContext& context) {
    // The mode is looked up at each call, so a window open across a switch follows it.
    return [&context](std::string_view text) {
        const ReaderSetup setup = context.ReadingSetup();
        return ModeReading(text, ResolveReadingMode(context.Preferences().readings, setup), setup);
    };
}

ReadingProvider AutomaticReadingProvider(AppContext& context) {
    return [&context](std::string_view text) {
        return ModeReading(text, ReadingMode::Automatic, context.ReadingSetup());
    };
}

} // namespace yomi6
