#include "text/halfwidth_kana.h"

#include "text/cp932_codec.h"

#include <iterator>

namespace yomi6 {

namespace {

struct HalfWidth {
    char16_t kana; // the half-width katakana
    char16_t mark; // the voicing mark that follows it, or 0
};

constexpr char16_t kKatakanaFirst = u'ァ'; // U+30A1
constexpr char16_t kHiraganaFirst = u'ぁ'; // U+3041, 0x60 below its katakana
constexpr char16_t kHiraganaToKatakana = kKatakanaFirst - kHiraganaFirst;

// The katakana U+30A1 (ァ) to U+30FA (ヺ) in code order.
constexpr HalfWidth kKatakana[] = {
    {u'ｧ', 0},    // ァ
    {u'ｱ', 0},    // ア
    {u'ｨ', 0},    // ィ
    {u'ｲ', 0},    // イ
    {u'ｩ', 0},    // ゥ
    {u'ｳ', 0},    // ウ
    {u'ｪ', 0},    // ェ
    {u'ｴ', 0},    // エ
    {u'ｫ', 0},    // ォ
    {u'ｵ', 0},    // オ
    {u'ｶ', 0},    // カ
    {u'ｶ', u'ﾞ'}, // ガ
    {u'ｷ', 0},    // キ
    {u'ｷ', u'ﾞ'}, // ギ
    {u'ｸ', 0},    // ク
    {u'ｸ', u'ﾞ'}, // グ
    {u'ｹ', 0},    // ケ
    {u'ｹ', u'ﾞ'}, // ゲ
    {u'ｺ', 0},    // コ
    {u'ｺ', u'ﾞ'}, // ゴ
    {u'ｻ', 0},    // サ
    {u'ｻ', u'ﾞ'}, // ザ
    {u'ｼ', 0},    // シ
    {u'ｼ', u'ﾞ'}, // ジ
    {u'ｽ', 0},    // ス
    {u'ｽ', u'ﾞ'}, // ズ
    {u'ｾ', 0},    // セ
    {u'ｾ', u'ﾞ'}, // ゼ
    {u'ｿ', 0},    // ソ
    {u'ｿ', u'ﾞ'}, // ゾ
    {u'ﾀ', 0},    // タ
    {u'ﾀ', u'ﾞ'}, // ダ
    {u'ﾁ', 0},    // チ
    {u'ﾁ', u'ﾞ'}, // ヂ
    {u'ｯ', 0},    // ッ
    {u'ﾂ', 0},    // ツ
    {u'ﾂ', u'ﾞ'}, // ヅ
    {u'ﾃ', 0},    // テ
    {u'ﾃ', u'ﾞ'}, // デ
    {u'ﾄ', 0},    // ト
    {u'ﾄ', u'ﾞ'}, // ド
    {u'ﾅ', 0},    // ナ
    {u'ﾆ', 0},    // ニ
    {u'ﾇ', 0},    // ヌ
    {u'ﾈ', 0},    // ネ
    {u'ﾉ', 0},    // ノ
    {u'ﾊ', 0},    // ハ
    {u'ﾊ', u'ﾞ'}, // バ
    {u'ﾊ', u'ﾟ'}, // パ
    {u'ﾋ', 0},    // ヒ
    {u'ﾋ', u'ﾞ'}, // ビ
    {u'ﾋ', u'ﾟ'}, // ピ
    {u'ﾌ', 0},    // フ
    {u'ﾌ', u'ﾞ'}, // ブ
    {u'ﾌ', u'ﾟ'}, // プ
    {u'ﾍ', 0},    // ヘ
    {u'ﾍ', u'ﾞ'}, // ベ
    {u'ﾍ', u'ﾟ'}, // ペ
    {u'ﾎ', 0},    // ホ
    {u'ﾎ', u'ﾞ'}, // ボ
    {u'ﾎ', u'ﾟ'}, // ポ
    {u'ﾏ', 0},    // マ
    {u'ﾐ', 0},    // ミ
    {u'ﾑ', 0},    // ム
    {u'ﾒ', 0},    // メ
    {u'ﾓ', 0},    // モ
    {u'ｬ', 0},    // ャ
    {u'ﾔ', 0},    // ヤ
    {u'ｭ', 0},    // ュ
    {u'ﾕ', 0},    // ユ
    {u'ｮ', 0},    // ョ
    {u'ﾖ', 0},    // ヨ
    {u'ﾗ', 0},    // ラ
    {u'ﾘ', 0},    // リ
    {u'ﾙ', 0},    // ル
    {u'ﾚ', 0},    // レ
    {u'ﾛ', 0},    // ロ
    {u'ﾜ', 0},    // ヮ
    {u'ﾜ', 0},    // ワ
    {u'ｲ', 0},    // ヰ
    {u'ｴ', 0},    // ヱ
    {u'ｦ', 0},    // ヲ
    {u'ﾝ', 0},    // ン
    {u'ｳ', u'ﾞ'}, // ヴ
    {u'ｶ', 0},    // ヵ
    {u'ｹ', 0},    // ヶ
    {u'ﾜ', u'ﾞ'}, // ヷ
    {u'ｲ', u'ﾞ'}, // ヸ
    {u'ｴ', u'ﾞ'}, // ヹ
    {u'ｦ', u'ﾞ'}, // ヺ
};
constexpr char16_t kKatakanaLast = static_cast<char16_t>(kKatakanaFirst + std::size(kKatakana) - 1);

// Signs that have a half-width form of their own.
constexpr struct {
    char16_t full;
    char16_t half;
} kSigns[] = {
    {u'ー', u'ｰ'}, {u'・', u'･'}, {u'。', u'｡'}, {u'、', u'､'},     {u'「', u'｢'},
    {u'」', u'｣'}, {u'゛', u'ﾞ'}, {u'゜', u'ﾟ'}, {u'\u3099', u'ﾞ'}, {u'\u309A', u'ﾟ'},
};

void Append(std::u16string& out, HalfWidth h) {
    out += h.kana;
    if (h.mark != 0) {
        out += h.mark;
    }
}

} // namespace

std::u16string ToHalfWidthKana(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size() * 2);
    for (char16_t c : text) {
        char16_t katakana = c;
        // ぁ to ゖ: the hiragana whose katakana stand 0x60 above them.
        if (c >= kHiraganaFirst && c <= u'ゖ') {
            katakana = static_cast<char16_t>(c + kHiraganaToKatakana);
        }
        if (katakana >= kKatakanaFirst && katakana <= kKatakanaLast) {
            Append(out, kKatakana[katakana - kKatakanaFirst]);
            continue;
        }
        bool sign = false;
        for (const auto& s : kSigns) {
            if (s.full == c) {
                out += s.half;
                sign = true;
                break;
            }
        }
        if (!sign) {
            out += c;
        }
    }
    return out;
}

std::u16string ToFullWidthKana(std::u16string_view text) {
    // The small kana written with a large half-width kana (ヮ ヵ ヶ) and the old ヰ ヱ are never
    // the full-width form of one.
    const auto isLossy = [](char16_t k) {
        return k == u'ヮ' || k == u'ヵ' || k == u'ヶ' || k == u'ヰ' || k == u'ヱ';
    };
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const char16_t next = i + 1 < text.size() ? text[i + 1] : 0;
        char16_t found = 0;
        bool withMark = false;
        for (std::size_t k = 0; k < std::size(kKatakana) && found == 0; ++k) {
            const auto full = static_cast<char16_t>(kKatakanaFirst + k);
            if (kKatakana[k].kana != c || isLossy(full)) {
                continue;
            }
            if (kKatakana[k].mark == 0) {
                found = full; // a marked form further on is preferred where the mark follows
                for (std::size_t m = k + 1; m < std::size(kKatakana) && next != 0; ++m) {
                    if (kKatakana[m].kana == c && kKatakana[m].mark == next &&
                        !isLossy(static_cast<char16_t>(kKatakanaFirst + m))) {
                        found = static_cast<char16_t>(kKatakanaFirst + m);
                        withMark = true;
                        break;
                    }
                }
            } else if (kKatakana[k].mark == next) {
                found = full;
                withMark = true;
            }
        }
        if (found != 0) {
            out += found;
            i += withMark ? 1 : 0;
            continue;
        }
        char16_t sign = 0;
        for (const auto& s : kSigns) {
            if (s.half == c) {
                sign = s.full;
                break;
            }
        }
        out += sign != 0 ? sign : c;
    }
    return out;
}

std::optional<std::string> HalfWidthReadingBytes(std::u16string_view text) {
    EncodeResult encoded = EncodeCp932(ToHalfWidthKana(text), EncodeOptions{});
    if (!encoded.ok()) {
        return std::nullopt;
    }
    return std::move(encoded.bytes);
}

} // namespace yomi6
