#include "reading/reading_mode.h"

#include "analysis/analyzer_loader.h"

namespace yomi6 {

ReadingMode ResolveReadingMode(std::int32_t readings, const AnalyzerLoader& analyzer) {
    switch (readings) {
    case kReadingsAutomatic:
        return ReadingMode::Automatic;
    case kReadingsUnchosen:
        return analyzer.HasFailed() ? ReadingMode::Dictionary : ReadingMode::Automatic;
    default:
        return ReadingMode::Dictionary;
    }
}

ReadingMode ResolveReadingMode(std::int32_t readings, const ReaderSetup& setup) {
    return ResolveReadingMode(readings, *setup.analyzer);
}

std::int32_t SwitchedReadings(std::int32_t readings, const AnalyzerLoader& analyzer) {
    return ResolveReadingMode(readings, analyzer) == ReadingMode::Automatic ? kReadingsDictionary
                                                                            : kReadingsAutomatic;
}

std::string_view ReadingsIndicatorText(ReadingMode mode) {
    return mode == ReadingMode::Automatic ? "自動" : "辞書";
}

} // namespace yomi6
