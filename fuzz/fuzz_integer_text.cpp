// Any bytes typed into a dialog's integer field: only the first 31 count, a value that comes
// back is written the way it reads, and text holding a byte that is no blank, tab, white space,
// sign or digit within those 31 bytes is refused.
#include "text/integer_text.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto value = yomi6::ParseIntegerText(text);
    if (value != yomi6::ParseIntegerText(text.substr(0, yomi6::kIntegerTextMaxBytes))) {
        std::abort();
    }
    if (!value) {
        return 0;
    }
    if (yomi6::ParseIntegerText(std::to_string(*value)) != value) {
        std::abort();
    }
    for (const char c : text.substr(0, yomi6::kIntegerTextMaxBytes)) {
        const bool allowed =
            (c >= '0' && c <= '9') || c == '+' || c == '-' || c == ' ' || (c >= '\t' && c <= '\r');
        if (!allowed) {
            std::abort();
        }
    }
    return 0;
}
