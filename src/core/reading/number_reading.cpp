#include "reading/number_reading.h"

#include "reading/number_tables.h"
#include "text/char_classes.h"
#include "text/utf8_codec.h"

#include <cstdint>
#include <vector>

namespace yomi6 {

namespace {

using namespace numbers;

// A number's reading so far, in code page 932 bytes, and how it ends.
struct Spoken {
    std::string kana;
    Tail tail = Tail::Zero;
};

// What the digits, place and group words before any counter amount to.
struct Body {
    Spoken spoken;
    std::optional<std::uint64_t> value; // an integer, for the counters' own readings
    bool takesCounter = true;           // dotted numbers take no counter
    std::size_t end = 0;
};

constexpr std::uint64_t kPow10[] = {1ULL,
                                    10ULL,
                                    100ULL,
                                    1000ULL,
                                    10000ULL,
                                    100000ULL,
                                    1000000ULL,
                                    10000000ULL,
                                    100000000ULL,
                                    1000000000ULL,
                                    10000000000ULL,
                                    100000000000ULL,
                                    1000000000000ULL,
                                    10000000000000ULL,
                                    100000000000000ULL,
                                    1000000000000000ULL,
                                    10000000000000000ULL};

// The tables hold half-width katakana U+FF61..U+FF9F, three UTF-8 bytes each; code page 932
// has them as the single bytes 0xA1..0xDF in the same order.
void AppendKana(std::string& out, std::string_view utf8) {
    for (std::size_t i = 0; i + 2 < utf8.size(); i += 3) {
        const auto b0 = static_cast<unsigned char>(utf8[i]);
        const auto b1 = static_cast<unsigned char>(utf8[i + 1]);
        const auto b2 = static_cast<unsigned char>(utf8[i + 2]);
        const unsigned cp = ((b0 & 0x0Fu) << 12) | ((b1 & 0x3Fu) << 6) | (b2 & 0x3Fu);
        out.push_back(static_cast<char>(cp - 0xFF61u + 0xA1u));
    }
}

Tail DigitTail(int digit) {
    return static_cast<Tail>(static_cast<int>(Tail::Zero) + digit);
}

// An ASCII or full-width digit at the start of s: its value and byte length, or -1.
int ArabicDigitAt(std::string_view s, std::size_t& length) {
    if (!s.empty() && s[0] >= '0' && s[0] <= '9') {
        length = 1;
        return s[0] - '0';
    }
    if (s.size() >= 3 && s.substr(0, 2) == kFullWidthZero.substr(0, 2)) {
        const int d =
            static_cast<unsigned char>(s[2]) - static_cast<unsigned char>(kFullWidthZero[2]);
        if (d >= 0 && d <= 9) {
            length = 3;
            return d;
        }
    }
    return -1;
}

int WordAt(std::span<const WordValue> words, std::string_view s, std::size_t& length) {
    for (const WordValue& w : words) {
        if (s.starts_with(w.word)) {
            length = w.word.size();
            return w.value;
        }
    }
    return -1;
}

bool StartsWithAny(std::span<const std::string_view> words, std::string_view s,
                   std::size_t& length) {
    for (const std::string_view w : words) {
        if (s.starts_with(w)) {
            length = w.size();
            return true;
        }
    }
    return false;
}

// Plain digits at pos, as ASCII digits; returns the end.
std::size_t TakeDigits(std::string_view s, std::size_t pos, std::string& digits) {
    std::size_t n = 0;
    for (int d; (d = ArabicDigitAt(s.substr(pos), n)) >= 0; pos += n) {
        digits.push_back(static_cast<char>('0' + d));
    }
    return pos;
}

// The length of the thousands separator at pos (0 where none stands): a comma of either width,
// or the Japanese comma before a digit 0 or once it has separated the groups before.
std::size_t SeparatorAt(std::string_view s, std::size_t pos, bool commaBefore) {
    std::size_t n = 0;
    if (StartsWithAny(kThousandsSeparators, s.substr(pos), n)) {
        return n;
    }
    if (!s.substr(pos).starts_with(kDigitComma)) {
        return 0;
    }
    const int digit = ArabicDigitAt(s.substr(pos + kDigitComma.size()), n);
    return digit == 0 || (commaBefore && digit > 0) ? kDigitComma.size() : 0;
}

// Digits with thousands separators: a first group of one to three digits, then groups of
// exactly three each after a separator. A separator that does not fit ends the number before it.
std::size_t TakeArabic(std::string_view s, std::size_t pos, std::string& digits) {
    pos = TakeDigits(s, pos, digits);
    if (digits.size() > 3 || digits[0] == '0') {
        return pos;
    }
    bool comma = false; // the groups so far are separated by the Japanese comma
    for (std::size_t sep; (sep = SeparatorAt(s, pos, comma)) > 0;) {
        std::string group;
        const std::size_t end = TakeDigits(s, pos + sep, group);
        if (group.size() != 3) {
            break;
        }
        comma = s.substr(pos).starts_with(kDigitComma);
        digits += group;
        pos = end;
    }
    return pos;
}

std::size_t TakeKanjiDigits(std::string_view s, std::size_t pos, std::string& digits) {
    std::size_t n = 0;
    for (int d; (d = WordAt(kKanjiDigits, s.substr(pos), n)) >= 0; pos += n) {
        digits.push_back(static_cast<char>('0' + d));
    }
    return pos;
}

// The reading of a following word: a whole-number reading of its own, a sound change at the
// number's end, or the plain reading after the number.
void ApplyCounter(Spoken& number, const Counter& counter, std::optional<std::uint64_t> value) {
    if (value) {
        for (const ExactRule& rule : counter.exact) {
            if (rule.value == *value) {
                number.kana.clear();
                AppendKana(number.kana, rule.text);
                return;
            }
        }
    }
    for (const TailRule& rule : counter.tails) {
        if (rule.tail == number.tail && rule.drop <= number.kana.size()) {
            number.kana.resize(number.kana.size() - rule.drop);
            AppendKana(number.kana, rule.text);
            return;
        }
    }
    AppendKana(number.kana, counter.reading);
}

Spoken ReadDigitByDigit(std::string_view digits) {
    Spoken out;
    for (const char c : digits) {
        AppendKana(out.kana, kDigitWords[c - '0']);
        out.tail = DigitTail(c - '0');
    }
    return out;
}

// 1..9999; before a group word 1000 is ｲｯｾﾝ (ｲｯｾﾝﾏﾝ).
Spoken ReadUnderTenThousand(unsigned v, bool beforeGroup) {
    Spoken out;
    const unsigned th = v / 1000, h = v / 100 % 10, t = v / 10 % 10, o = v % 10;
    AppendKana(out.kana, beforeGroup && v == 1000 ? kOneThousandBeforeGroup : kThousandsWords[th]);
    AppendKana(out.kana, kHundredsWords[h]);
    AppendKana(out.kana, kTensWords[t]);
    if (o != 0) {
        AppendKana(out.kana, kDigitWords[o]);
    }
    out.tail = o != 0   ? DigitTail(static_cast<int>(o))
               : t != 0 ? Tail::Ten
               : h != 0 ? Tail::Hundred
                        : Tail::Thousand;
    return out;
}

// 0 .. 10^16 - 1 with place values: groups of four digits under 兆, 億 and 万.
Spoken ReadValue(std::uint64_t v) {
    Spoken out;
    if (v == 0) {
        AppendKana(out.kana, kZeroAlone);
        return out;
    }
    constexpr Tail kGroupTails[] = {Tail::Man, Tail::Oku, Tail::Cho};
    for (int i = 2; i >= 0; --i) {
        const auto group = static_cast<unsigned>(v / kPow10[kGroupPowers[i]] % 10000);
        if (group == 0) {
            continue;
        }
        Spoken part = ReadUnderTenThousand(group, true);
        ApplyCounter(part, kGroupWords[i], std::nullopt);
        out.kana += part.kana;
        out.tail = kGroupTails[i];
    }
    if (const auto ones = static_cast<unsigned>(v % 10000); ones != 0) {
        Spoken part = ReadUnderTenThousand(ones, false);
        out.kana += part.kana;
        out.tail = part.tail;
    }
    return out;
}

bool ReadsDigitByDigit(std::string_view digits) {
    return digits.size() > kMaxPlaceValueDigits || (digits.size() > 1 && digits[0] == '0');
}

std::uint64_t ValueOf(std::string_view digits) {
    std::uint64_t v = 0;
    for (const char c : digits) {
        v = v * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return v;
}

// A whole digit string alone: by place values, or digit by digit.
Body ReadDigitString(const std::string& digits, std::size_t end) {
    if (ReadsDigitByDigit(digits)) {
        return {ReadDigitByDigit(digits), std::nullopt, true, end};
    }
    const std::uint64_t v = ValueOf(digits);
    return {ReadValue(v), v, true, end};
}

// The part of a dotted number: short parts by their value (ｼﾞｭｳ), longer ones digit by digit
// (192 ｲﾁｷｭｳﾆ), as addresses and versions are read.
bool ReadsDottedPartByValue(const std::string& digits) {
    return digits.size() <= 2 && !ReadsDigitByDigit(digits);
}

Spoken ReadDottedPart(const std::string& digits) {
    if (ReadsDottedPartByValue(digits)) {
        return ReadValue(ValueOf(digits));
    }
    return ReadDigitByDigit(digits);
}

// The point after digits: a number read by its value changes its sound before ﾃﾝ (1.5 ｲｯﾃﾝｺﾞ);
// digits read one by one keep theirs (192.168 ｲﾁｷｭｳﾆﾃﾝ, 168.0 ｲﾁﾛｸﾊﾁﾃﾝ).
void AppendPoint(Spoken& number, bool readByValue) {
    if (!readByValue) {
        AppendKana(number.kana, kPointWord.reading);
    } else {
        ApplyCounter(number, kPointWord, std::nullopt);
    }
}

// A telephone number: three groups of digits joined by hyphens, the first of two to five digits,
// the second of two to four, the last of four (03-1234-5678, ０４５ー６７８ー９０１２), read digit
// by digit as on the telephone, the hyphens silent. A date (2024-12-31) ends in two digits.
std::optional<Body> ReadTelephoneNumber(std::string_view s, const std::string& first,
                                        std::size_t pos) {
    std::string digits = first;
    std::size_t groups = 1;
    for (std::size_t hyphen = 0;
         groups < 3 && StartsWithAny(kTelephoneHyphens, s.substr(pos), hyphen); ++groups) {
        std::string group;
        const std::size_t end = TakeDigits(s, pos + hyphen, group);
        const bool fits = groups == 1 ? group.size() >= 2 && group.size() <= 4 : group.size() == 4;
        if (!fits) {
            return std::nullopt;
        }
        digits += group;
        pos = end;
    }
    if (groups < 3 || first.size() < 2 || first.size() > 5) {
        return std::nullopt;
    }
    Body body;
    for (const char c : digits) {
        AppendKana(body.spoken.kana, kTelephoneDigitWords[c - '0']);
    }
    body.spoken.tail = Tail::Plain;
    body.takesCounter = false;
    body.end = pos;
    return body;
}

// Digits after the first run at pos: a decimal fraction (3.14), or two and more dots (1.2.3,
// 192.168.0.1). Nothing when no point with a digit after it follows.
std::optional<Body> ReadPointed(std::string_view s, const std::string& first, std::size_t pos) {
    std::vector<std::string> parts{first};
    std::size_t point = 0;
    while (StartsWithAny(kDecimalPoints, s.substr(pos), point)) {
        std::string digits;
        const std::size_t end = TakeDigits(s, pos + point, digits);
        if (digits.empty()) {
            break;
        }
        parts.push_back(std::move(digits));
        pos = end;
    }
    if (parts.size() < 2) {
        return std::nullopt;
    }
    Body body;
    body.end = pos;
    if (parts.size() == 2) {
        // A zero before the point is ｾﾞﾛ as everywhere else in a number (0.16 ｾﾞﾛﾃﾝｲﾁﾛｸ, 0.01
        // ｾﾞﾛﾃﾝｾﾞﾛｲﾁ, not ﾚｲﾃﾝ beside the ｾﾞﾛ of its own fraction).
        body.spoken =
            ReadsDigitByDigit(first) ? ReadDigitByDigit(first) : ReadValue(ValueOf(first));
        AppendPoint(body.spoken, !ReadsDigitByDigit(first));
        const Spoken fraction = ReadDigitByDigit(parts[1]);
        body.spoken.kana += fraction.kana;
        body.spoken.tail = fraction.tail;
        // 1.5万 ｲｯﾃﾝｺﾞﾏﾝ
        std::size_t n = 0;
        for (std::size_t i = 0; i < std::size(kGroupWords); ++i) {
            if (s.substr(pos).starts_with(kGroupWords[i].word)) {
                n = kGroupWords[i].word.size();
                ApplyCounter(body.spoken, kGroupWords[i], std::nullopt);
                body.spoken.tail = i == 0 ? Tail::Man : i == 1 ? Tail::Oku : Tail::Cho;
                break;
            }
        }
        body.end += n;
        return body;
    }
    body.takesCounter = false;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            AppendPoint(body.spoken, ReadsDottedPartByValue(parts[i - 1]));
        }
        const Spoken part = ReadDottedPart(parts[i]);
        body.spoken.kana += part.kana;
        body.spoken.tail = part.tail;
    }
    return body;
}

// Two kanji digits that count up by one are an approximate number, said digit by digit (二三人
// ﾆｻﾝﾆﾝ "two or three people", 五六寸 ﾛｸ), at the start of a number or after its place words
// (十二三 ｼﾞｭｳﾆｻﾝ); a place or group word after them applies to the second digit (二三十 ﾆｻﾝｼﾞｭｳ,
// 四五百 ｼｺﾞﾋｬｸ). before is the value of the place words before them (0 at the start), lastPlace
// the smallest of those places. Nothing when the digits are no such pair.
std::optional<Body> ReadApproximate(std::string_view s, const std::string& digits, std::size_t end,
                                    std::uint64_t before, int lastPlace) {
    if (digits.size() != 2 || digits[0] == '0' || digits[1] != digits[0] + 1) {
        return std::nullopt;
    }
    const int first = digits[0] - '0';
    const int second = digits[1] - '0';
    Body body;
    body.value = std::nullopt; // a counter's own readings (一人 ﾋﾄﾘ) are for exact numbers
    if (before != 0) {
        body.spoken = ReadValue(before);
    }
    AppendKana(body.spoken.kana, kApproximateFirst[first]);
    std::size_t n = 0;
    if (const int place = WordAt(kKanjiPlaces, s.substr(end), n); place >= 1 && place < lastPlace) {
        static constexpr const std::string_view* kPlaceWords[] = {nullptr, kTensWords,
                                                                  kHundredsWords, kThousandsWords};
        static constexpr Tail kPlaceTails[] = {Tail::Zero, Tail::Ten, Tail::Hundred,
                                               Tail::Thousand};
        AppendKana(body.spoken.kana, kPlaceWords[place][second]);
        body.spoken.tail = kPlaceTails[place];
        end += n;
    } else {
        AppendKana(body.spoken.kana, kApproximateSecond[second]);
        body.spoken.tail = second == 9 ? Tail::Plain : DigitTail(second);
    }
    if (before == 0) {
        for (std::size_t i = 0; i < std::size(kGroupWords); ++i) {
            if (s.substr(end).starts_with(kGroupWords[i].word)) { // 二三万 ﾆｻﾝﾏﾝ
                ApplyCounter(body.spoken, kGroupWords[i], std::nullopt);
                body.spoken.tail = i == 0 ? Tail::Man : i == 1 ? Tail::Oku : Tail::Cho;
                end += kGroupWords[i].word.size();
                break;
            }
        }
    }
    body.end = end;
    return body;
}

// A digit, the Japanese comma and the next digit up (２、３日 ﾆｻﾝﾆﾁ, １、２年): an approximate
// number as 二三日 is, when no further digit follows (１、２、３ is a list). first is the run of
// digits at the start, ending at runEnd.
std::optional<Body> ReadApproximateAroundComma(std::string_view s, const std::string& first,
                                               std::size_t runEnd) {
    if (first.size() != 1 || !s.substr(runEnd).starts_with(kDigitComma)) {
        return std::nullopt;
    }
    std::string second;
    const std::size_t end = TakeDigits(s, runEnd + kDigitComma.size(), second);
    std::size_t n = 0;
    if (second.size() != 1 || second[0] != first[0] + 1 ||
        (s.substr(end).starts_with(kDigitComma) &&
         ArabicDigitAt(s.substr(end + kDigitComma.size()), n) >= 0)) {
        return std::nullopt;
    }
    return ReadApproximate(s, first + second, end, 0, 4);
}

// Digit runs, kanji place words (十百千) and group words (万億兆) in descending order: 二千二十六,
// 3万5千, 1億2000万. A token that breaks the order ends the number before it.
std::optional<Body> ReadBody(std::string_view s, std::size_t pos) {
    std::uint64_t total = 0, section = 0;
    std::string current; // the digits not yet placed
    int lastPlace = 4, lastGroup = 16, tokens = 0;
    std::size_t end = pos;
    while (end < s.size()) {
        const std::string_view rest = s.substr(end);
        std::size_t n = 0;
        std::string digits;
        std::size_t runEnd = 0;
        bool kanji = false;
        if (ArabicDigitAt(rest, n) >= 0) {
            runEnd = TakeArabic(s, end, digits);
        } else if (WordAt(kKanjiDigits, rest, n) >= 0) {
            runEnd = TakeKanjiDigits(s, end, digits);
            kanji = true;
        }
        if (!digits.empty()) {
            if (!current.empty()) {
                break;
            }
            if (kanji && (tokens == 0 || lastPlace < 4 || lastGroup < 16)) {
                if (auto approximate =
                        ReadApproximate(s, digits, runEnd, total + section, lastPlace)) {
                    return approximate;
                }
            }
            if (tokens == 0 && ArabicDigitAt(rest, n) >= 0) {
                if (auto pointed = ReadPointed(s, digits, runEnd)) {
                    return pointed;
                }
                if (auto telephone = ReadTelephoneNumber(s, digits, runEnd)) {
                    return telephone;
                }
                if (auto approximate = ReadApproximateAroundComma(s, digits, runEnd)) {
                    return approximate;
                }
            }
            if (tokens > 0 && (digits.size() > 4 || ValueOf(digits) >= kPow10[lastPlace])) {
                break;
            }
            current = std::move(digits);
            end = runEnd;
            ++tokens;
            continue;
        }
        if (const int place = WordAt(kKanjiPlaces, rest, n); place >= 0) {
            const std::uint64_t mult = current.empty() ? 1 : ValueOf(current);
            if (place >= lastPlace || current.size() > 1 || mult == 0) {
                break;
            }
            section += mult * kPow10[place];
            lastPlace = place;
            current.clear();
            end += n;
            ++tokens;
            continue;
        }
        if (const int group = WordAt(kKanjiGroups, rest, n); group >= 0 && tokens > 0) {
            const std::uint64_t sec = section + ValueOf(current);
            if (group >= lastGroup || current.size() > 4 || sec == 0 || sec > 9999) {
                break;
            }
            total += sec * kPow10[group];
            section = 0;
            current.clear();
            lastPlace = 4;
            lastGroup = group;
            end += n;
            ++tokens;
            continue;
        }
        break;
    }
    if (tokens == 0) {
        return std::nullopt;
    }
    if (tokens == 1 && !current.empty()) {
        return ReadDigitString(current, end);
    }
    const std::uint64_t v = total + section + ValueOf(current);
    return Body{ReadValue(v), v, true, end};
}

// The length of the UTF-8 character at the start of s, 0 when s is empty or no well-formed
// character starts it.
std::size_t CharacterLength(std::string_view s) {
    return Utf8SequenceLength(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
}

// The counter word at the start of s, if one stands there and fits this number.
// oneKanjiDigit: the number is one kanji digit.
const Counter* CounterAt(std::string_view s, const Body& body, bool oneKanjiDigit) {
    for (const Counter& c : kCounters) {
        if (!s.starts_with(c.word) || (c.kanjiOnly && !oneKanjiDigit)) {
            continue;
        }
        // A word in katakana counts only whole: not the キロ of キロメートル, which a word of
        // its own reads, nor the トン of トンネル.
        if (StartsWithKatakana(c.word) && StartsWithKatakana(s.substr(c.word.size()))) {
            continue;
        }
        if (!c.followedBy.empty()) {
            const std::string_view next = s.substr(c.word.size());
            const std::size_t len = CharacterLength(next);
            if (len == 0 || c.followedBy.find(next.substr(0, len)) == std::string_view::npos) {
                continue;
            }
            const std::string_view then = next.substr(len);
            const std::size_t thenLen = CharacterLength(then);
            if (!c.thenBy.empty() && (thenLen == 0 || c.thenBy.find(then.substr(0, thenLen)) ==
                                                          std::string_view::npos)) {
                continue;
            }
        }
        if (c.exactOnly) {
            bool listed = false;
            for (const ExactRule& rule : c.exact) {
                listed = listed || (body.value && rule.value == *body.value);
            }
            if (!listed) {
                continue;
            }
        }
        return &c;
    }
    return nullptr;
}

} // namespace

std::optional<NumberReading> ReadNumber(std::string_view utf8) {
    std::string prefix;
    std::size_t pos = 0;
    std::size_t n = 0;
    if (utf8.starts_with(kOrdinalPrefix)) {
        AppendKana(prefix, kOrdinalReading);
        pos = kOrdinalPrefix.size();
    } else {
        for (const SignWord& sign : kSigns) {
            if (utf8.starts_with(sign.word) &&
                ArabicDigitAt(utf8.substr(sign.word.size()), n) >= 0) {
                AppendKana(prefix, sign.reading);
                pos = sign.word.size();
                break;
            }
        }
    }
    std::optional<Body> body = ReadBody(utf8, pos);
    if (!body) {
        return std::nullopt;
    }
    if (body->takesCounter) {
        std::size_t blank = 0;
        std::size_t digitLength = 0;
        const bool oneKanjiDigit = WordAt(kKanjiDigits, utf8.substr(pos), digitLength) >= 0 &&
                                   pos + digitLength == body->end;
        const Counter* counter = CounterAt(utf8.substr(body->end), *body, oneKanjiDigit);
        if (counter == nullptr &&
            StartsWithAny(kBlanksBeforeCounter, utf8.substr(body->end), blank)) {
            counter = CounterAt(utf8.substr(body->end + blank), *body, oneKanjiDigit);
        }
        if (counter != nullptr) {
            ApplyCounter(body->spoken, *counter, body->value);
            body->end += blank + counter->word.size();
        }
    }
    return NumberReading{body->end, prefix + body->spoken.kana};
}

} // namespace yomi6
