#include "view/reading_source.h"

namespace yomi6 {

ReadingProvider CurrentReadingProvider() {
    return [](std::string_view text) { return DictionaryModeReading(text); };
}

} // namespace yomi6
