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

// The words a number's reading is made of: a digit (サン, ハッ) or a place (ビャク, マン).
struct NumberPart {
    std::string_view kana;
    enum Kind { kDigit, kPlace, kLargePlace } kind;
};

constexpr NumberPart kNumberParts[] = {
    {"イチ", NumberPart::kDigit},      {"イッ", NumberPart::kDigit},
    {"ニ", NumberPart::kDigit},        {"サン", NumberPart::kDigit},
    {"ヨン", NumberPart::kDigit},      {"ヨ", NumberPart::kDigit},
    {"シチ", NumberPart::kDigit},      {"シ", NumberPart::kDigit},
    {"ゴ", NumberPart::kDigit},        {"ロク", NumberPart::kDigit},
    {"ロッ", NumberPart::kDigit},      {"ナナ", NumberPart::kDigit},
    {"ハチ", NumberPart::kDigit},      {"ハッ", NumberPart::kDigit},
    {"キュー", NumberPart::kDigit},    {"ク", NumberPart::kDigit},
    {"ジュー", NumberPart::kPlace},    {"ジュッ", NumberPart::kPlace},
    {"ジッ", NumberPart::kPlace},      {"ヒャク", NumberPart::kPlace},
    {"ビャク", NumberPart::kPlace},    {"ピャク", NumberPart::kPlace},
    {"ヒャッ", NumberPart::kPlace},    {"ビャッ", NumberPart::kPlace},
    {"ピャッ", NumberPart::kPlace},    {"セン", NumberPart::kPlace},
    {"ゼン", NumberPart::kPlace},      {"マン", NumberPart::kLargePlace},
    {"オク", NumberPart::kLargePlace}, {"チョー", NumberPart::kLargePlace},
};

// The reading of a whole number cut into its groups: a group ends after a place that a digit
// counts (サンビャク, ヨンジュー) or after 万, 億, 兆, where more follows that is not a larger
// place (ゴセンマン stays one). Nothing when the reading is not only digits and places (３．５).
std::vector<std::string_view> NumberGroups(std::string_view kana) {
    std::vector<const NumberPart*> parts;
    std::vector<std::size_t> ends;
    for (std::size_t i = 0; i < kana.size();) {
        const NumberPart* longest = nullptr;
        for (const NumberPart& part : kNumberParts) {
            if (kana.substr(i, part.kana.size()) == part.kana &&
                (longest == nullptr || part.kana.size() > longest->kana.size())) {
                longest = &part;
            }
        }
        if (longest == nullptr) {
            return {};
        }
        i += longest->kana.size();
        parts.push_back(longest);
        ends.push_back(i);
    }
    std::vector<std::string_view> groups;
    std::size_t begin = 0;
    for (std::size_t k = 0; k + 1 < parts.size(); ++k) {
        const bool counted = parts[k]->kind == NumberPart::kLargePlace ||
                             (parts[k]->kind == NumberPart::kPlace && k > 0 &&
                              parts[k - 1]->kind == NumberPart::kDigit);
        if (counted && parts[k + 1]->kind != NumberPart::kLargePlace) {
            groups.push_back(kana.substr(begin, ends[k] - begin));
            begin = ends[k];
        }
    }
    groups.push_back(kana.substr(begin));
    return groups;
}

// The native words of counting that the number rules read whole (一人 ヒトリ, 三日 ミッカ): their
// counter's kana are no reading of the counter alone, so they stay one word, with their own
// accent.
struct CountingWord {
    std::string_view kana;
    int accent;
};

constexpr CountingWord kCountingWords[] = {
    {"ヒトリ", 2},   {"フタリ", 3}, {"ツイタチ", 4}, {"フツカ", 0}, {"ミッカ", 0},
    {"ヨッカ", 0},   {"イツカ", 0}, {"ムイカ", 0},   {"ナノカ", 0}, {"ヨーカ", 0},
    {"ココノカ", 0}, {"トオカ", 0}, {"トーカ", 0},   {"ハツカ", 0}, {"ハタチ", 1},
};

const CountingWord* FindCountingWord(std::string_view kana) {
    for (const CountingWord& word : kCountingWords) {
        if (word.kana == kana) {
            return &word;
        }
    }
    return nullptr;
}

} // namespace

void ReadNumbers(std::string_view utf8, std::vector<LabelWord>& words, bool counting) {
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
        const LabelWord& last = words[j];
        const CountingWord* native = counting ? FindCountingWord(reading) : nullptr;
        // A counter after the digits (年, 本, 時) stays a word of its own, its morae the last of
        // the reading (ポン of イッポン), its accent and combination rule the dictionary's.
        const bool counter = native == nullptr && j > i && last.pos1 != kNumeral &&
                             last.moraCount > 0 && last.moraCount < CountMorae(reading) &&
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
        word.accentKnown = native != nullptr;
        word.accent = native != nullptr ? native->accent : 0;
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

void SplitNumberGroups(std::vector<LabelWord>& words) {
    std::vector<LabelWord> out;
    out.reserve(words.size());
    for (LabelWord& w : words) {
        const std::vector<std::string_view> groups = w.pos1 == kNumeral && !w.accentKnown
                                                         ? NumberGroups(w.pronunciation)
                                                         : std::vector<std::string_view>();
        if (groups.size() < 2) {
            out.push_back(std::move(w));
            continue;
        }
        for (std::size_t g = 0; g < groups.size(); ++g) {
            LabelWord group = w; // each group keeps the whole number's source bytes
            group.pronunciation = std::string(groups[g]);
            group.moraCount = CountMorae(group.pronunciation);
            group.chain = g == 0 ? w.chain : 0;
            // 五千, 二万: the nucleus on the mora before the place's ン (ゴセ]ン, ニマ]ン).
            const std::string_view kana = groups[g];
            if (g + 1 < groups.size() && kana.size() >= 6 &&
                (kana.substr(kana.size() - 6) == "セン" || kana.substr(kana.size() - 6) == "ゼン" ||
                 kana.substr(kana.size() - 6) == "マン")) {
                group.accent = group.moraCount - 1;
                group.accentKnown = true;
            }
            out.push_back(std::move(group));
        }
    }
    words = std::move(out);
}

} // namespace yomi6::labels
