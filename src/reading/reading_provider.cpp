#include "reading/reading_provider.h"

#include "reading/reading_conversion.h"

namespace yomi6 {

std::string DictionaryModeReading(std::string_view text) {
    unsigned char reading[kReadingBufferSize];
    const std::size_t length =
        ConvertToReading(reinterpret_cast<const unsigned char*>(text.data()), text.size(), reading);
    return std::string(reinterpret_cast<const char*>(reading), length);
}

std::string ModeReading(std::string_view text, ReadingMode mode) {
    unsigned char reading[kReadingBufferSize];
    SourceRange source[kReadingBufferSize];
    const ReadingResult result = ReadText(reinterpret_cast<const unsigned char*>(text.data()),
                                          text.size(), mode, ReaderSetup{}, reading, source);
    return std::string(reinterpret_cast<const char*>(reading), result.length);
}

} // namespace yomi6
