#include "bench_data.h"

#include "dictionary/dic_tables.h"

#include <cstring>
#include <random>
#include <vector>

namespace yomi6::bench {

namespace {

// A two-byte character: a kanji from the first level (lead 0x88-0x98) or a hiragana.
std::string RandomChar(std::mt19937& rng) {
    std::string c(2, '\0');
    if (rng() % 3 == 0) {
        c[0] = static_cast<char>(0x82);
        c[1] = static_cast<char>(0x9F + rng() % 83);
    } else {
        c[0] = static_cast<char>(0x88 + rng() % 17);
        c[1] = static_cast<char>(0x9F + rng() % 94);
    }
    return c;
}

std::vector<std::string> Words() {
    std::mt19937 rng(4711);
    std::vector<std::string> words;
    for (int i = 0; i < kUserRows; ++i) {
        std::string w;
        const auto chars = 1 + rng() % 6;
        for (unsigned c = 0; c < chars; ++c) {
            w += RandomChar(rng);
        }
        words.push_back(w);
    }
    return words;
}

} // namespace

std::string FullDictionaryImage() {
    std::string image(kDicImageSize, '\0');
    std::mt19937 rng(99);
    const auto words = Words();
    for (int n = 0; n < kUserRows; ++n) {
        char* r = image.data() + kRecordSize * static_cast<std::size_t>(n);
        std::memcpy(r, words[static_cast<std::size_t>(n)].data(),
                    words[static_cast<std::size_t>(n)].size());
        const auto len = 1 + rng() % 20;
        for (unsigned k = 0; k < len; ++k) {
            r[kWordSlotSize + k] = static_cast<char>(0xB1 + rng() % 45);
        }
    }
    return image;
}

std::string JapaneseText() {
    std::mt19937 rng(1234);
    const auto words = Words();
    std::string text;
    while (text.size() < 4000) {
        switch (rng() % 4) {
        case 0:
            text += words[rng() % words.size()];
            break;
        case 1:
            text += std::to_string(rng() % 1000);
            break;
        default:
            text += RandomChar(rng);
            break;
        }
        if (rng() % 20 == 0) {
            text += "\r\n";
        }
    }
    text.resize(4000);
    return text;
}

} // namespace yomi6::bench
