#include "english/kana_rows.h"

#include <iterator>

namespace yomi6::english {

namespace {

// In the order of Phone's consonants, from B.
constexpr KanaRow kConsonantRows[] = {
    {{"バ", "ビ", "ブ", "ベ", "ボ"}, "ブ", "ビ"},           // b
    {{"チャ", "チ", "チュ", "チェ", "チョ"}, "チ", "チ"},   // ch
    {{"ダ", "ディ", "ドゥ", "デ", "ド"}, "ド", "デ"},       // d
    {{"ザ", "ジ", "ズ", "ゼ", "ゾ"}, "ズ", "ジ"},           // dh (the ザ)
    {{"ファ", "フィ", "フ", "フェ", "フォ"}, "フ", "フ"},   // f
    {{"ガ", "ギ", "グ", "ゲ", "ゴ"}, "グ", "ギ"},           // g
    {{"ハ", "ヒ", "フ", "ヘ", "ホ"}, "フ", "ヒ"},           // hh
    {{"ジャ", "ジ", "ジュ", "ジェ", "ジョ"}, "ジ", "ジ"},   // jh
    {{"カ", "キ", "ク", "ケ", "コ"}, "ク", "キ"},           // k
    {{"ラ", "リ", "ル", "レ", "ロ"}, "ル", "リ"},           // l
    {{"マ", "ミ", "ム", "メ", "モ"}, "ム", "ミ"},           // m
    {{"ナ", "ニ", "ヌ", "ネ", "ノ"}, "ン", "ニ"},           // n
    {{"ガ", "ギ", "グ", "ゲ", "ゴ"}, "ング", "ギ"},         // ng (ン before it)
    {{"パ", "ピ", "プ", "ペ", "ポ"}, "プ", "ピ"},           // p
    {{"ラ", "リ", "ル", "レ", "ロ"}, "ル", "リ"},           // r
    {{"サ", "シ", "ス", "セ", "ソ"}, "ス", "シ"},           // s
    {{"シャ", "シ", "シュ", "シェ", "ショ"}, "シュ", "シ"}, // sh
    {{"タ", "ティ", "トゥ", "テ", "ト"}, "ト", "チ"},       // t
    {{"サ", "シ", "ス", "セ", "ソ"}, "ス", "シ"},           // th
    {{"バ", "ビ", "ブ", "ベ", "ボ"}, "ブ", "ビ"},           // v
    {{"ワ", "ウィ", "ウ", "ウェ", "ウォ"}, "ウ", ""},       // w
    {{"ヤ", "イ", "ユ", "イエ", "ヨ"}, "イ", ""},           // y
    {{"ザ", "ジ", "ズ", "ゼ", "ゾ"}, "ズ", "ジ"},           // z
    {{"ジャ", "ジ", "ジュ", "ジェ", "ジョ"}, "ジュ", "ジ"}, // zh
};
static_assert(std::size(kConsonantRows) ==
              static_cast<std::size_t>(Phone::ZH) - static_cast<std::size_t>(Phone::B) + 1);

constexpr KanaRow kVowels = {{"ア", "イ", "ウ", "エ", "オ"}, "", ""};

} // namespace

const KanaRow& RowOf(Phone consonant) {
    if (IsVowel(consonant)) {
        return kVowels;
    }
    return kConsonantRows[static_cast<std::size_t>(consonant) - static_cast<std::size_t>(Phone::B)];
}

const KanaRow& VowelRow() {
    return kVowels;
}

std::string_view SmallGlide(KanaVowel v) {
    switch (v) {
    case KanaVowel::A:
        return "ャ";
    case KanaVowel::U:
        return "ュ";
    case KanaVowel::O:
        return "ョ";
    default:
        return "";
    }
}

} // namespace yomi6::english
