#include "reading/text_reader.h"

#include "analysis/analyzer_loader.h"
#include "aozora/aozora_notation.h"
#include "reading/automatic_reading.h"

#include <algorithm>
#include <string>

namespace yomi6 {

ReadingResult ReadText(const unsigned char* text, std::size_t n, ReadingMode mode,
                       const ReaderSetup& setup, unsigned char (&reading)[kReadingBufferSize],
                       SourceRange (&source)[kReadingBufferSize]) {
    if (mode == ReadingMode::Automatic) {
        AnalyzerLoader& loader = *setup.analyzer;
        std::string error;
        if (Analyzer* analyzer = loader.Get(error)) {
            if (setup.aozora) {
                const AozoraNotation notation = ParseAozoraNotation(std::string_view(
                    reinterpret_cast<const char*>(text), std::min(n, kMaxTextBytes)));
                return ConvertAutomatic(text, n, setup.dictionary, *analyzer, reading, source,
                                        &notation,
                                        {.rubies = setup.rubies, .english = &loader.English()});
            }
            return ConvertAutomatic(text, n, setup.dictionary, *analyzer, reading, source, nullptr,
                                    {.english = &loader.English()});
        }
        if (setup.messages != nullptr) {
            setup.messages->ShowMessage(error + "; this text is read with the dictionary only",
                                        MessageBoxType::IconExclamation);
        }
    }
    return ConvertWithSourceMap(text, n, setup.dictionary, reading, source);
}

} // namespace yomi6
