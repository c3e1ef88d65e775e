#include "dictionary/record_cleaning.h"

#include "dictionary/dic_tables.h"
#include "text/cp932.h"

#include <cstring>

namespace yomi6 {

namespace {

constexpr std::size_t kWordScanBytes = kWordSlotSize - 1; // 12
constexpr std::size_t kYomiScanBytes = kYomiSlotSize - 1; // 20
constexpr unsigned char kBlank = 0x20;

bool IsFullWidthSpace(unsigned char lead, unsigned char trail) {
    return lead == 0x81 && trail == 0x40;
}

// Digits, ASCII letters and the signs between and among them: none of it can be spoken.
bool IsUnspeakableSingle(unsigned char b) {
    return b == kBlank || (b >= 0x30 && b <= 0x7A);
}

// A letter or a digit: ASCII, or the full-width ones of code page 932 (0x824F-0x8258 digits,
// 0x8260-0x8279 and 0x8281-0x829A letters).
bool IsLetterOrDigit(std::string_view c) {
    const auto first = static_cast<unsigned char>(c.front());
    if (c.size() == 1) {
        return (first >= '0' && first <= '9') || (first >= 'A' && first <= 'Z') ||
               (first >= 'a' && first <= 'z');
    }
    const auto second = static_cast<unsigned char>(c[1]);
    return first == 0x82 &&
           ((second >= 0x4F && second <= 0x58) || (second >= 0x60 && second <= 0x79) ||
            (second >= 0x81 && second <= 0x9A));
}

// Scans the first scanBytes bytes of in; a pair may start at any offset but the last. keepPair
// and keepSingle decide what survives; survivors are packed from the start of out.
template <typename KeepPair, typename KeepSingle>
void CleanField(const unsigned char* in, unsigned char* out, std::size_t scanBytes,
                KeepPair keepPair, KeepSingle keepSingle) {
    std::size_t o = 0;
    std::size_t i = 0;
    while (i < scanBytes) {
        if (i + 1 < scanBytes && cp932::IsLegalPair(in[i], in[i + 1])) {
            if (keepPair(in[i], in[i + 1])) {
                out[o++] = in[i];
                out[o++] = in[i + 1];
            }
            i += 2;
        } else {
            if (keepSingle(in[i])) {
                out[o++] = in[i];
            }
            i += 1;
        }
    }
}

} // namespace

bool BlankJoinsWords(std::string_view word) {
    std::string_view before; // the last character that is not a blank
    bool blankSince = false;
    for (std::size_t i = 0; i < word.size();) {
        const bool pair =
            i + 1 < word.size() && cp932::IsLegalPair(static_cast<unsigned char>(word[i]),
                                                      static_cast<unsigned char>(word[i + 1]));
        const std::string_view c = word.substr(i, pair ? 2 : 1);
        i += c.size();
        const bool blank = pair ? IsFullWidthSpace(static_cast<unsigned char>(c[0]),
                                                   static_cast<unsigned char>(c[1]))
                                : c[0] == static_cast<char>(kBlank);
        if (blank) {
            blankSince = true;
            continue;
        }
        if (blankSince && !before.empty() && IsLetterOrDigit(before) && IsLetterOrDigit(c)) {
            return true;
        }
        before = c;
        blankSince = false;
    }
    return false;
}

void CleanWordField(const unsigned char* in, unsigned char* out) {
    CleanField(
        in, out, kWordScanBytes,
        [](unsigned char lead, unsigned char trail) { return !IsFullWidthSpace(lead, trail); },
        [](unsigned char b) { return b != kBlank; });
}

void CleanYomiField(const unsigned char* in, unsigned char* out) {
    CleanField(
        in, out, kYomiScanBytes, [](unsigned char, unsigned char) { return false; },
        [](unsigned char b) { return !IsUnspeakableSingle(b); });
}

void CleanDictionaryImage(const unsigned char* in, unsigned char* out) {
    std::memset(out, 0, kDicImageSize);
    for (std::size_t n = 0; n < static_cast<std::size_t>(kUserRows); ++n) {
        const std::size_t at = kRecordSize * n;
        CleanWordField(in + at, out + at);
        CleanYomiField(in + at + kWordSlotSize, out + at + kWordSlotSize);
    }
}

} // namespace yomi6
