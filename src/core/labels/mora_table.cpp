#include "labels/mora_table.h"

#include "labels/label_word.h"
#include "text/utf8_codec.h"

#include <string>

namespace yomi6::labels {

namespace {

// Two-kana morae come before the one-kana morae they start with: the longest match wins.
constexpr Mora kMorae[] = {
    // With a small kana.
    {"キャ", "ky", "a"},
    {"キュ", "ky", "u"},
    {"キョ", "ky", "o"},
    {"キェ", "ky", "e"},
    {"ギャ", "gy", "a"},
    {"ギュ", "gy", "u"},
    {"ギョ", "gy", "o"},
    {"ギェ", "gy", "e"},
    {"クヮ", "kw", "a"},
    {"グヮ", "gw", "a"},
    {"シャ", "sh", "a"},
    {"シュ", "sh", "u"},
    {"ショ", "sh", "o"},
    {"シェ", "sh", "e"},
    {"ジャ", "j", "a"},
    {"ジュ", "j", "u"},
    {"ジョ", "j", "o"},
    {"ジェ", "j", "e"},
    {"スィ", "s", "i"},
    {"ズィ", "z", "i"},
    {"チャ", "ch", "a"},
    {"チュ", "ch", "u"},
    {"チョ", "ch", "o"},
    {"チェ", "ch", "e"},
    {"ツァ", "ts", "a"},
    {"ツィ", "ts", "i"},
    {"ツェ", "ts", "e"},
    {"ツォ", "ts", "o"},
    {"ティ", "t", "i"},
    {"トゥ", "t", "u"},
    {"テャ", "ty", "a"},
    {"テュ", "ty", "u"},
    {"テョ", "ty", "o"},
    {"ディ", "d", "i"},
    {"ドゥ", "d", "u"},
    {"デャ", "dy", "a"},
    {"デュ", "dy", "u"},
    {"デョ", "dy", "o"},
    {"ニャ", "ny", "a"},
    {"ニュ", "ny", "u"},
    {"ニョ", "ny", "o"},
    {"ニェ", "ny", "e"},
    {"ヒャ", "hy", "a"},
    {"ヒュ", "hy", "u"},
    {"ヒョ", "hy", "o"},
    {"ヒェ", "hy", "e"},
    {"ビャ", "by", "a"},
    {"ビュ", "by", "u"},
    {"ビョ", "by", "o"},
    {"ビェ", "by", "e"},
    {"ピャ", "py", "a"},
    {"ピュ", "py", "u"},
    {"ピョ", "py", "o"},
    {"ピェ", "py", "e"},
    {"ファ", "f", "a"},
    {"フィ", "f", "i"},
    {"フェ", "f", "e"},
    {"フォ", "f", "o"},
    {"ミャ", "my", "a"},
    {"ミュ", "my", "u"},
    {"ミョ", "my", "o"},
    {"ミェ", "my", "e"},
    {"リャ", "ry", "a"},
    {"リュ", "ry", "u"},
    {"リョ", "ry", "o"},
    {"リェ", "ry", "e"},
    {"ウィ", "w", "i"},
    {"ウェ", "w", "e"},
    {"ウォ", "w", "o"},
    {"イェ", "y", "e"},
    {"ヴァ", "v", "a"},
    {"ヴィ", "v", "i"},
    {"ヴェ", "v", "e"},
    {"ヴォ", "v", "o"},
    {"ヴャ", "by", "a"},
    {"ヴュ", "by", "u"},
    {"ヴョ", "by", "o"},
    // One kana.
    {"ア", "", "a"},
    {"イ", "", "i"},
    {"ウ", "", "u"},
    {"エ", "", "e"},
    {"オ", "", "o"},
    {"カ", "k", "a"},
    {"キ", "k", "i"},
    {"ク", "k", "u"},
    {"ケ", "k", "e"},
    {"コ", "k", "o"},
    {"ガ", "g", "a"},
    {"ギ", "g", "i"},
    {"グ", "g", "u"},
    {"ゲ", "g", "e"},
    {"ゴ", "g", "o"},
    {"サ", "s", "a"},
    {"シ", "sh", "i"},
    {"ス", "s", "u"},
    {"セ", "s", "e"},
    {"ソ", "s", "o"},
    {"ザ", "z", "a"},
    {"ジ", "j", "i"},
    {"ズ", "z", "u"},
    {"ゼ", "z", "e"},
    {"ゾ", "z", "o"},
    {"タ", "t", "a"},
    {"チ", "ch", "i"},
    {"ツ", "ts", "u"},
    {"テ", "t", "e"},
    {"ト", "t", "o"},
    {"ダ", "d", "a"},
    {"ヂ", "j", "i"},
    {"ヅ", "z", "u"},
    {"デ", "d", "e"},
    {"ド", "d", "o"},
    {"ナ", "n", "a"},
    {"ニ", "n", "i"},
    {"ヌ", "n", "u"},
    {"ネ", "n", "e"},
    {"ノ", "n", "o"},
    {"ハ", "h", "a"},
    {"ヒ", "h", "i"},
    {"フ", "f", "u"},
    {"ヘ", "h", "e"},
    {"ホ", "h", "o"},
    {"バ", "b", "a"},
    {"ビ", "b", "i"},
    {"ブ", "b", "u"},
    {"ベ", "b", "e"},
    {"ボ", "b", "o"},
    {"パ", "p", "a"},
    {"ピ", "p", "i"},
    {"プ", "p", "u"},
    {"ペ", "p", "e"},
    {"ポ", "p", "o"},
    {"マ", "m", "a"},
    {"ミ", "m", "i"},
    {"ム", "m", "u"},
    {"メ", "m", "e"},
    {"モ", "m", "o"},
    {"ヤ", "y", "a"},
    {"ユ", "y", "u"},
    {"ヨ", "y", "o"},
    {"ラ", "r", "a"},
    {"リ", "r", "i"},
    {"ル", "r", "u"},
    {"レ", "r", "e"},
    {"ロ", "r", "o"},
    {"ワ", "w", "a"},
    {"ヮ", "w", "a"},
    {"ヰ", "", "i"},
    {"ヱ", "", "e"},
    {"ヲ", "", "o"},
    {"ン", "", "N"},
    {"ッ", "", "cl"},
    {"ヴ", "v", "u"},
    {"ヶ", "k", "e"},
    {"ヵ", "k", "a"},
    {"ァ", "", "a"},
    {"ィ", "", "i"},
    {"ゥ", "", "u"},
    {"ェ", "", "e"},
    {"ォ", "", "o"},
    {"ャ", "y", "a"},
    {"ュ", "y", "u"},
    {"ョ", "y", "o"},
};

// The hiragana ぁ..ゖ (E3 81 81 .. E3 82 96) stand 0x60 below their katakana.
std::string AsKatakana(std::string_view text, std::size_t chars) {
    std::string out;
    for (std::size_t i = 0; i + 3 <= text.size() && chars > 0; i += 3, --chars) {
        auto b1 = static_cast<unsigned char>(text[i + 1]);
        auto b2 = static_cast<unsigned char>(text[i + 2]);
        const auto lead = static_cast<unsigned char>(text[i]);
        const unsigned code = lead == 0xE3 ? ((b1 & 0x3Fu) << 6) | (b2 & 0x3Fu) : 0;
        // Within the block of lead byte E3 (U+3000..U+3FFF), ぁ (U+3041) is 0x41, ゖ 0x96.
        if (lead == 0xE3 && code >= 0x41 && code <= 0x96) {
            const unsigned k = code + 0x60;
            b1 = static_cast<unsigned char>(0x80 | (k >> 6));
            b2 = static_cast<unsigned char>(0x80 | (k & 0x3F));
        }
        out += static_cast<char>(lead);
        out += static_cast<char>(b1);
        out += static_cast<char>(b2);
    }
    return out;
}

} // namespace

const Mora* MoraAt(std::string_view text, std::size_t& length) {
    const std::string head = AsKatakana(text, 2);
    for (const Mora& m : kMorae) {
        if (head.compare(0, m.kana.size(), m.kana) == 0) {
            length = m.kana.size();
            return &m;
        }
    }
    length = 0;
    return nullptr;
}

int CountMorae(std::string_view text) {
    constexpr std::string_view kLong = "ー";
    int count = 0;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t n = 0;
        if (MoraAt(text.substr(i), n) != nullptr) {
            ++count;
            i += n;
        } else if (text.substr(i, kLong.size()) == kLong) {
            ++count;
            i += kLong.size();
        } else {
            i += Utf8Step(text.substr(i));
        }
    }
    return count;
}

void AppendNucleusCarriers(std::string_view text, bool devoicedCarries, std::vector<bool>& out) {
    for (std::size_t i = 0; i < text.size();) {
        std::size_t n = 0;
        if (const Mora* m = MoraAt(text.substr(i), n)) {
            out.push_back(m->vowel != "N" && m->vowel != "cl");
            i += n;
        } else if (text.substr(i, kLongVowel.size()) == kLongVowel) {
            out.push_back(false);
            i += kLongVowel.size();
        } else if (text.substr(i, kDevoicedMark.size()) == kDevoicedMark) {
            if (!devoicedCarries && !out.empty()) {
                out.back() = false;
            }
            i += kDevoicedMark.size();
        } else {
            ++i; // a mark: 、 ？
        }
    }
}

} // namespace yomi6::labels
