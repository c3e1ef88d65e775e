#include "labels/number_words.h"

#include "labels/mora_table.h"
#include "reading/number_reading.h"
#include "text/cp932_codec.h"
#include "text/halfwidth_kana.h"
#include "text/utf8_codec.h"

#include <string>

namespace yomi6::labels {

namespace {

constexpr std::string_view kNumeral = "数";

// The reading's code page 932 half-width katakana as full-width katakana in UTF-8, with ウ
// after a mora of u or o written ー, as the dictionary writes a long vowel (ジュウ ジュー).
std::string FullWidthReading(std::string_view cp932) {
    std::string kana;
    for (const char16_t c : ToFullWidthKana(DecodeCp932(cp932))) {
        AppendUtf8(kana, c);
    }
    constexpr std::string_view kU = "ウ";
    std::string out;
    std::string_view vowel;
    for (std::size_t i = 0; i < kana.size();) {
        std::size_t n = 0;
        const Mora* m = MoraAt(std::string_view(kana).substr(i), n);
        if (m == nullptr) {
            out += kana[i++];
            vowel = {};
            continue;
        }
        const bool lengthens = m->kana == kU && (vowel == "u" || vowel == "o");
        out += lengthens ? kLongVowel : m->kana;
        vowel = lengthens ? vowel : m->vowel;
        i += n;
    }
    return out;
}

} // namespace

void ReadNumbers(std::string_view utf8, std::vector<LabelWord>& words) {
    std::vector<LabelWord> out;
    out.reserve(words.size());
    for (std::size_t i = 0; i < words.size(); ++i) {
        const LabelWord& first = words[i];
        const std::optional<NumberReading> number =
            first.pos1 == kNumeral && first.sourceBegin < utf8.size()
                ? ReadNumber(utf8.substr(first.sourceBegin))
                : std::nullopt;
        // The last word of the number: the one that ends where its reading ends.
        std::size_t j = i;
        if (number) {
            const std::size_t end = first.sourceBegin + number->length;
            while (j + 1 < words.size() && words[j].sourceEnd < end) {
                ++j;
            }
        }
        if (!number || words[j].sourceEnd != first.sourceBegin + number->length) {
            out.push_back(first);
            continue;
        }
        LabelWord word;
        word.surface = utf8.substr(first.sourceBegin, words[j].sourceEnd - first.sourceBegin);
        word.pos = "名詞";
        word.pos1 = kNumeral;
        word.base = word.surface;
        word.pronunciation = FullWidthReading(number->reading);
        word.moraCount = CountMorae(word.pronunciation);
        word.accentKnown = false;
        word.sourceBegin = first.sourceBegin;
        word.sourceEnd = words[j].sourceEnd;
        if (word.moraCount == 0) {
            out.push_back(first);
            continue;
        }
        out.push_back(std::move(word));
        i = j;
    }
    words = std::move(out);
}

} // namespace yomi6::labels
