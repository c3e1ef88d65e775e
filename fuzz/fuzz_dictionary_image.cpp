// Any dictionary image, however damaged, rebuilds into tables that keep their invariants: every
// used user slot has a word of 1 to 12 bytes and a reading of 1 to 20, longest words first.
#include "dictionary/dic_loader.h"
#include "dictionary/dic_tables.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The input is repeated to fill the image, so that short inputs still make many records.
    static std::vector<unsigned char> image(yomi6::kDicImageSize);
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = size == 0 ? 0 : data[i % size];
    }
    yomi6::RebuildUserRows(image.data());
    const int used = yomi6::UsedDicSlots();
    std::size_t previous = 12;
    for (int s = yomi6::kBuiltinRows; s < used; ++s) {
        const std::size_t w = std::strlen(g_dicWord[s]);
        const std::size_t y = std::strlen(g_dicYomi[s]);
        if (w < 1 || w > previous || y < 1 || y > 20) {
            std::abort();
        }
        previous = w;
    }
    return 0;
}
