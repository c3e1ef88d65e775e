// Any dictionary image, however damaged, rebuilds into exactly its usable records: every record
// with a word of 1 to 12 bytes (terminated within its 13) and a nonempty reading, longest words
// first, file order within a length, readings cut to 20 bytes. The word index then finds, at
// every position of a text, the same slot as the linear scan.
//
// The input is the start of the image (the rest stays zero), so that the fuzzer can grow records
// one by one. An input whose first byte is 0xFF instead repeats its bytes from the third on
// through the first 2^k records (k from the second byte, 0 to 14; at most all 9999): large
// tables, up to a full one, at a cost the fuzzer mostly keeps small.
#include "dictionary/dictionary.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using namespace yomi6;

constexpr std::uint8_t kRepeatMarker = 0xFF;

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The image of the previous input is cleared only as far as it was written.
std::vector<unsigned char> g_image(kDicImageSize);
std::size_t g_written = 0;

void FillImage(const std::uint8_t* data, std::size_t size) {
    std::memset(g_image.data(), 0, g_written);
    if (size > 2 && data[0] == kRepeatMarker) {
        const std::size_t records =
            std::min<std::size_t>(kUserRows, std::size_t{1} << (data[1] % 15));
        const std::size_t end = records * kRecordSize;
        // The pattern once, then the filled part copied behind itself up to the end.
        std::size_t filled = std::min(size - 2, end);
        std::memcpy(g_image.data(), data + 2, filled);
        while (filled < end) {
            const std::size_t more = std::min(filled, end - filled);
            std::memcpy(g_image.data() + filled, g_image.data(), more);
            filled += more;
        }
        g_written = end;
        return;
    }
    g_written = std::min(size, kDicImageSize);
    if (g_written > 0) {
        std::memcpy(g_image.data(), data, g_written);
    }
}

// The usable records in table order, by a stable sort of their file positions on word length.
std::vector<int> ExpectedOrder() {
    const std::size_t records = (g_written + kRecordSize - 1) / kRecordSize;
    std::vector<int> order;
    for (std::size_t n = 0; n < records; ++n) {
        const unsigned char* record = g_image.data() + n * kRecordSize;
        const std::size_t word = ::strnlen(reinterpret_cast<const char*>(record), kWordSlotSize);
        if (word >= 1 && word < kWordSlotSize && record[kWordSlotSize] != 0) {
            order.push_back(static_cast<int>(n));
        }
    }
    const auto wordLength = [](int n) {
        return ::strnlen(reinterpret_cast<const char*>(g_image.data() + n * kRecordSize),
                         kWordSlotSize);
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return wordLength(a) > wordLength(b); });
    return order;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FillImage(data, size);
    // One dictionary for the run: the rebuild replaces every user row of the one before.
    static Dictionary dictionary;
    dictionary.RebuildUserRows(g_image.data());
    const DicTables& tables = dictionary.Tables();

    const std::vector<int> order = ExpectedOrder();
    Check(tables.UsedSlots() == kBuiltinRows + static_cast<int>(order.size()));
    for (std::size_t i = 0; i < order.size(); ++i) {
        const unsigned char* record =
            g_image.data() + static_cast<std::size_t>(order[i]) * kRecordSize;
        const int slot = kBuiltinRows + static_cast<int>(i);
        const std::size_t word = ::strnlen(reinterpret_cast<const char*>(record), kWordSlotSize);
        const std::size_t yomi =
            ::strnlen(reinterpret_cast<const char*>(record + kWordSlotSize), kYomiSlotSize - 1);
        Check(std::strlen(tables.word[slot]) == word &&
              std::memcmp(tables.word[slot], record, word) == 0);
        Check(std::strlen(tables.yomi[slot]) == yomi &&
              std::memcmp(tables.yomi[slot], record + kWordSlotSize, yomi) == 0);
    }

    // The input itself as a text, zero-padded as the lookup needs; the linear scan over a full
    // table is slow, so fewer positions are compared there.
    std::vector<unsigned char> text(data, data + size);
    text.resize(size + kWordSlotSize, 0);
    const std::size_t positions =
        std::min(size, order.size() > 1000 ? std::size_t{4} : std::size_t{64});
    for (std::size_t p = 0; p < positions; ++p) {
        Check(dictionary.Index().FirstMatch(text.data() + p) ==
              dictionary.Index().LinearFirstMatch(text.data() + p));
    }
    return 0;
}
