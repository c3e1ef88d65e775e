#include "reading/reading_provider.h"

#include "reading/reading_conversion.h"

namespace yomi6 {

std::string DictionaryModeReading(std::string_view text, const DictionaryView& dic) {
    unsigned char reading[kReadingBufferSize];
    const std::size_t length = ConvertToReading(reinterpret_cast<const unsigned char*>(text.data()),
                                                text.size(), dic, reading);
    return std::string(reinterpret_cast<const char*>(reading), length);
}

std::string ModeReading(std::string_view text, ReadingMode mode, const ReaderSetup& setup) {
    unsigned char reading[kReadingBufferSize];
    SourceRange source[kReadingBufferSize];
    const ReadingResult result = ReadText(reinterpret_cast<const unsigned char*>(text.data()),
                                          text.size(), mode, setup, reading, source);
    return std::string(reinterpret_cast<const char*>(reading), result.length);
}

} // namespace yomi6
