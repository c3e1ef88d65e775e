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
