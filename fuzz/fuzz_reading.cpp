// The reading of arbitrary bytes against a dictionary made from the same input: the indexed
// lookup must give exactly the reading of the linear reference scan, and never write past the
// reading buffer.
#include "fuzz_user_rows.h"
#include "reading/reading_conversion.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first part of the input gives up to 64 dictionary rows, the rest is the text.
    fuzz::UserRows::Begin();
    yomi6::Dictionary& dictionary = fuzz::UserRows::Dictionary();
    std::size_t pos = 0;
    int slot = yomi6::kBuiltinRows;
    while (pos < size && data[pos] != 0xFF && slot < yomi6::kBuiltinRows + 64) {
        const std::size_t length = data[pos] % 13u;
        ++pos;
        for (std::size_t k = 0; k < length && pos < size; ++k, ++pos) {
            dictionary.Tables().word[slot][k] = static_cast<char>(data[pos] == 0 ? 1 : data[pos]);
        }
        const std::size_t yomiLength = 1 + (length * 7) % 20;
        std::memset(dictionary.Tables().yomi[slot], 0xB1 + slot % 40, yomiLength);
        ++slot;
    }
    fuzz::UserRows::End(slot);
    const std::uint8_t* text = pos < size ? data + pos + 1 : data;
    const std::size_t n = pos < size ? size - pos - 1 : 0;

    unsigned char indexed[yomi6::kReadingBufferSize];
    unsigned char linear[yomi6::kReadingBufferSize];
    const std::size_t a =
        yomi6::ConvertToReading(text, n, dictionary.View(yomi6::DicLookup::Indexed), indexed);
    const std::size_t b = yomi6::ConvertToReading(
        text, n, dictionary.View(yomi6::DicLookup::LinearReference), linear);
    if (a != b || std::memcmp(indexed, linear, sizeof indexed) != 0 ||
        a >= yomi6::kReadingBufferSize || indexed[a] != 0) {
        std::abort();
    }
    return 0;
}
