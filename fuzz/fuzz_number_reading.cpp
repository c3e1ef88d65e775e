// Any bytes at the start of a number: a reading that comes back consumes part of the input,
// and is nothing but playable half-width katakana.
#include "reading/number_reading.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto number = yomi6::ReadNumber(text);
    if (!number) {
        return 0;
    }
    if (number->length == 0 || number->length > size || number->reading.empty()) {
        std::abort();
    }
    for (const char c : number->reading) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0xA6 || b > 0xDF) {
            std::abort();
        }
    }
    return 0;
}
