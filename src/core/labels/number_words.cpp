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

// Kana without the devoicing marks of the dictionary.
std::string WithoutMarks(std::string_view kana) {
    std::string out;
    for (std::size_t i = 0; i < kana.size();) {
        if (kana.substr(i, kDevoicedMark.size()) == kDevoicedMark) {
            i += kDevoicedMark.size();
        } else {
            out += kana[i++];
        }
    }
    return out;
}

// The byte where the mora after the first n morae of kana starts (ー counts as one).
std::size_t MoraOffset(std::string_view kana, int n) {
    std::size_t i = 0;
    for (int k = 0; k < n && i < kana.size(); ++k) {
        std::size_t length = 0;
        if (MoraAt(kana.substr(i), length) == nullptr) {
            length = kana.substr(i, kLongVowel.size()) == kLongVowel ? kLongVowel.size() : 1;
        }
        i += length;
    }
    return i;
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
        const std::string reading = number ? FullWidthReading(number->reading) : std::string();
        if (!number || words[j].sourceEnd != first.sourceBegin + number->length ||
            CountMorae(reading) == 0) {
            out.push_back(first);
            continue;
        }
        // Where the dictionary's words read the number so, they stay, with their accents.
        std::string joined;
        for (std::size_t k = i; k <= j; ++k) {
            joined += WithoutMarks(words[k].pronunciation);
        }
        if (joined == reading) {
            out.insert(out.end(), words.begin() + static_cast<std::ptrdiff_t>(i),
                       words.begin() + static_cast<std::ptrdiff_t>(j) + 1);
            i = j;
            continue;
        }
        // A counter after the digits (年, 本, 時) stays a word of its own, its morae the last of
        // the reading (ポン of イッポン), its accent and combination rule the dictionary's.
        const LabelWord& last = words[j];
        const bool counter = j > i && last.pos1 != kNumeral && last.moraCount > 0 &&
                             last.moraCount < CountMorae(reading) &&
                             CountMorae(last.pronunciation) == last.moraCount;
        const std::size_t split =
            counter ? MoraOffset(reading, CountMorae(reading) - last.moraCount) : reading.size();
        const std::size_t numberEnd = counter ? last.sourceBegin : last.sourceEnd;
        LabelWord word;
        word.surface = utf8.substr(first.sourceBegin, numberEnd - first.sourceBegin);
        word.pos = "名詞";
        word.pos1 = kNumeral;
        word.base = word.surface;
        word.pronunciation = reading.substr(0, split);
        word.moraCount = CountMorae(word.pronunciation);
        word.accentKnown = false;
        word.sourceBegin = first.sourceBegin;
        word.sourceEnd = numberEnd;
        out.push_back(std::move(word));
        if (counter) {
            LabelWord tail = last;
            tail.pronunciation = reading.substr(split);
            out.push_back(std::move(tail));
        }
        i = j;
    }
    words = std::move(out);
}

} // namespace yomi6::labels
