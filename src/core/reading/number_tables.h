// The data of number readings: digit and place-value words, kanji numerals, signs and the
// counter words with their sound changes. Readings are written here in half-width katakana
// (UTF-8); the reader turns them into code page 932 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace yomi6::numbers {

// How the reading of a number ends, which decides the sound change of a following word:
// its last digit (1 ｲﾁ, 6 ﾛｸ, 8 ﾊﾁ geminate before many counters), or the place word it ends
// with when the ones digit is zero (20 ends in ｼﾞｭｳ, 300 in ﾋﾞｬｸ, 10000 in ﾏﾝ).
enum class Tail : std::uint8_t {
    Zero,
    D1,
    D2,
    D3,
    D4,
    D5,
    D6,
    D7,
    D8,
    D9,
    Ten,
    Hundred,
    Thousand,
    Man,
    Oku,
    Cho,
    Plain, // an ending no counter changes (the ｸ of 八九 ﾊｯｸ)
};

// When a number ends in tail, drop its last `drop` kana and write text instead of the
// counter's plain reading (text includes the counter).
struct TailRule {
    Tail tail;
    std::uint8_t drop;
    std::string_view text;
};

// A whole number with a reading of its own before this counter (1日 ﾂｲﾀﾁ, 2人 ﾌﾀﾘ).
struct ExactRule {
    std::uint64_t value;
    std::string_view text;
};

struct Counter {
    std::string_view word;       // as written after the number
    std::string_view followedBy; // characters one of which must follow; empty: anything
    std::string_view reading;    // the plain reading, after the number's own reading
    std::span<const TailRule> tails;
    std::span<const ExactRule> exact;
    bool exactOnly = false; // the word counts only for the numbers in exact (つ)
    // Characters one of which must follow the one of followedBy; empty: anything.
    std::string_view thenBy = {};
    bool kanjiOnly = false; // the word counts only after one kanji digit (一 to 九)
};

struct WordValue {
    std::string_view word;
    int value;
};

struct SignWord {
    std::string_view word;
    std::string_view reading;
};

// Readings of a digit alone and of the digits in the tens, hundreds and thousands place.
extern const std::string_view kDigitWords[10];
extern const std::string_view kTensWords[10];
extern const std::string_view kHundredsWords[10];
extern const std::string_view kThousandsWords[10];
inline constexpr std::string_view kZeroAlone = "ｾﾞﾛ";
inline constexpr std::string_view kOneThousandBeforeGroup = "ｲｯｾﾝ"; // 1000万 ｲｯｾﾝﾏﾝ

// An approximate number, two kanji digits in a row that count up by one (二三人 "two or three
// people", 五六寸): each digit is said in turn, the first as it sounds before the second (四五
// ｼｺﾞ, 八九 ﾊｯｸ), the second as it sounds before a counter or a place word (六七 ﾛｸｼﾁ).
extern const std::string_view kApproximateFirst[10];
extern const std::string_view kApproximateSecond[10];

// The group words 万, 億, 兆 (value is the power of ten) and the word read at a decimal point,
// each a counter of a kind: 1兆 ｲｯﾁｮｳ, 1.5 ｲｯﾃﾝｺﾞ.
extern const Counter kGroupWords[3];
extern const int kGroupPowers[3];
extern const Counter kPointWord;

extern const std::span<const WordValue> kKanjiDigits; // 〇 一 … 九
extern const std::span<const WordValue> kKanjiPlaces; // 十 百 千 (power of ten)
extern const std::span<const WordValue> kKanjiGroups; // 万 億 兆 (power of ten)
extern const std::span<const std::string_view> kDecimalPoints;
extern const std::span<const std::string_view> kThousandsSeparators;
// The Japanese comma between digits: two digits that count up by one around it are an approximate
// number (２、３日), and before a group of three digits that starts with 0, which no number of
// its own does, a thousands separator (１、０００名, ２９、００２).
inline constexpr std::string_view kDigitComma = "、";
extern const std::span<const SignWord> kSigns;
// The hyphens that join the groups of a telephone number, and its digits as said on the
// telephone: 2 and 5 drawn out (ﾆｰ, ｺﾞｰ) so that every digit is two morae or more.
extern const std::span<const std::string_view> kTelephoneHyphens;
extern const std::string_view kTelephoneDigitWords[10];
inline constexpr std::string_view kOrdinalPrefix = "第";
inline constexpr std::string_view kOrdinalReading = "ﾀﾞｲ";
inline constexpr std::string_view kFullWidthZero = "０"; // ０..９ are consecutive code points

// One blank of either width may stand between a number and its counter ("2 つ", "1 行"), as
// many technical texts space them.
extern const std::span<const std::string_view> kBlanksBeforeCounter;

// Counter words, longer words before their prefixes (時間 before 時).
extern const std::span<const Counter> kCounters;

} // namespace yomi6::numbers
