#include "natural/phoneme_kana.h"

#include <array>
#include <cctype>

namespace yomi6::natural {

namespace {

struct ConsonantRow {
    std::string_view consonant;           // the phonemes before the vowel, blank-separated
    std::array<std::string_view, 5> kana; // with a, i, u, e, o
};

// The engine's consonants and the kana each makes with the five vowels.
constexpr std::array<ConsonantRow, 33> kRows{{
    {"", {"ア", "イ", "ウ", "エ", "オ"}},
    {"k", {"カ", "キ", "ク", "ケ", "コ"}},
    {"g", {"ガ", "ギ", "グ", "ゲ", "ゴ"}},
    {"s", {"サ", "スィ", "ス", "セ", "ソ"}},
    {"sh", {"シャ", "シ", "シュ", "シェ", "ショ"}},
    {"z", {"ザ", "ズィ", "ズ", "ゼ", "ゾ"}},
    {"j", {"ジャ", "ジ", "ジュ", "ジェ", "ジョ"}},
    {"t", {"タ", "ティ", "トゥ", "テ", "ト"}},
    {"ch", {"チャ", "チ", "チュ", "チェ", "チョ"}},
    {"ts", {"ツァ", "ツィ", "ツ", "ツェ", "ツォ"}},
    {"d", {"ダ", "ディ", "ドゥ", "デ", "ド"}},
    {"n", {"ナ", "ニ", "ヌ", "ネ", "ノ"}},
    {"h", {"ハ", "ヒ", "フ", "ヘ", "ホ"}},
    {"f", {"ファ", "フィ", "フ", "フェ", "フォ"}},
    {"b", {"バ", "ビ", "ブ", "ベ", "ボ"}},
    {"p", {"パ", "ピ", "プ", "ペ", "ポ"}},
    {"m", {"マ", "ミ", "ム", "メ", "モ"}},
    {"y", {"ヤ", "イ", "ユ", "イェ", "ヨ"}},
    {"r", {"ラ", "リ", "ル", "レ", "ロ"}},
    {"w", {"ワ", "ウィ", "ウ", "ウェ", "ヲ"}},
    {"v", {"ヴァ", "ヴィ", "ヴ", "ヴェ", "ヴォ"}},
    {"ky", {"キャ", "キ", "キュ", "キェ", "キョ"}},
    {"gy", {"ギャ", "ギ", "ギュ", "ギェ", "ギョ"}},
    {"ny", {"ニャ", "ニ", "ニュ", "ニェ", "ニョ"}},
    {"hy", {"ヒャ", "ヒ", "ヒュ", "ヒェ", "ヒョ"}},
    {"by", {"ビャ", "ビ", "ビュ", "ビェ", "ビョ"}},
    {"py", {"ピャ", "ピ", "ピュ", "ピェ", "ピョ"}},
    {"my", {"ミャ", "ミ", "ミュ", "ミェ", "ミョ"}},
    {"ry", {"リャ", "リ", "リュ", "リェ", "リョ"}},
    {"dy", {"ヂャ", "ディ", "デュ", "ヂェ", "ヂョ"}},
    {"ty", {"チャ", "ティ", "テュ", "チェ", "チョ"}},
    {"kw", {"クァ", "クィ", "ク", "クェ", "クォ"}},
    {"gw", {"グァ", "グィ", "グ", "グェ", "グォ"}},
}};

constexpr std::string_view kVowels = "aiueo";

} // namespace

std::string PhonemeKana(std::string_view phonemes) {
    if (phonemes == "N") {
        return "ン";
    }
    if (phonemes == "cl") {
        return "ッ";
    }
    // The vowel is the last phoneme; what comes before it is the consonant.
    const std::size_t blank = phonemes.find_last_of(' ');
    const std::string_view last =
        blank == std::string_view::npos ? phonemes : phonemes.substr(blank + 1);
    const std::size_t vowel =
        last.size() == 1
            ? kVowels.find(static_cast<char>(std::tolower(static_cast<unsigned char>(last[0]))))
            : std::string_view::npos;
    if (vowel == std::string_view::npos) {
        return "";
    }
    std::string consonant;
    if (blank != std::string_view::npos) {
        for (const char c : phonemes.substr(0, blank)) {
            if (c != ' ') {
                consonant.push_back(c);
            }
        }
    }
    for (const ConsonantRow& row : kRows) {
        if (row.consonant == consonant) {
            return std::string(row.kana[vowel]);
        }
    }
    return std::string(kRows[0].kana[vowel]);
}

} // namespace yomi6::natural
