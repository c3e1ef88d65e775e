#include "reading/long_vowel.h"

namespace yomi6 {

namespace {

constexpr std::uint8_t kA = 0xB1, kI = 0xB2, kU = 0xB3, kE = 0xB4, kO = 0xB5;
constexpr std::uint8_t kBlank = 0x20;

// The vowel of each half-width katakana byte 0xA6-0xDD (ｦ, the small kana, ｰ, ｱ-ﾝ).
constexpr std::uint8_t kVowels[0xDE - 0xA6] = {
    kO,                     // ｦ
    kA,     kI, kU, kE, kO, // ｧ ｨ ｩ ｪ ｫ
    kA,     kU, kO,         // ｬ ｭ ｮ
    kBlank,                 // ｯ
    kBlank,                 // ｰ
    kA,     kI, kU, kE, kO, // ｱ-ｵ
    kA,     kI, kU, kE, kO, // ｶ-ｺ
    kA,     kI, kU, kE, kO, // ｻ-ｿ
    kA,     kI, kU, kE, kO, // ﾀ-ﾄ
    kA,     kI, kU, kE, kO, // ﾅ-ﾉ
    kA,     kI, kU, kE, kO, // ﾊ-ﾎ
    kA,     kI, kU, kE, kO, // ﾏ-ﾓ
    kA,     kU, kO,         // ﾔ ﾕ ﾖ
    kA,     kI, kU, kE, kO, // ﾗ-ﾛ
    kA,                     // ﾜ
    kBlank,                 // ﾝ
};

} // namespace

std::uint8_t LongVowelAfter(const std::uint8_t* reading, std::size_t length) {
    while (length > 0) {
        const std::uint8_t b = reading[--length];
        if (b == 0xDE || b == 0xDF) {
            continue; // a sound mark belongs to the letter before it
        }
        return b >= 0xA6 && b <= 0xDD ? kVowels[b - 0xA6] : kBlank;
    }
    return kBlank;
}

} // namespace yomi6
