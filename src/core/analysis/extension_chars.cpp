#include "analysis/extension_chars.h"

#include <algorithm>
#include <iterator>

namespace yomi6 {

namespace {

// Sorted by character. Circled numbers and Roman numerals become their number (so that ① is
// read as いち and Ⅱ 章 as に しょう); the squared words become the words their NFKC form spells,
// except where that form is Latin letters or a bracket (㎜ "mm", ㈱ "(株)"), which are written as
// said; the compatibility kanji become their unified kanji (NFKC), and the best known variant
// kanji of the IBM extensions the common kanji they stand for (髙 高, 﨑 崎), so that names are
// read. Signs that JIS X 0208 has as well (≒ ∫ √) and kanji with no common form stay as they are.
constexpr ExtensionForm kForms[] = {
    {0x2116, "ナンバー"},       // №
    {0x2121, "電話"},           // ℡
    {0x2160, "1"},              // Ⅰ
    {0x2161, "2"},              // Ⅱ
    {0x2162, "3"},              // Ⅲ
    {0x2163, "4"},              // Ⅳ
    {0x2164, "5"},              // Ⅴ
    {0x2165, "6"},              // Ⅵ
    {0x2166, "7"},              // Ⅶ
    {0x2167, "8"},              // Ⅷ
    {0x2168, "9"},              // Ⅸ
    {0x2169, "10"},             // Ⅹ
    {0x2170, "1"},              // ⅰ
    {0x2171, "2"},              // ⅱ
    {0x2172, "3"},              // ⅲ
    {0x2173, "4"},              // ⅳ
    {0x2174, "5"},              // ⅴ
    {0x2175, "6"},              // ⅵ
    {0x2176, "7"},              // ⅶ
    {0x2177, "8"},              // ⅷ
    {0x2178, "9"},              // ⅸ
    {0x2179, "10"},             // ⅹ
    {0x2460, "1"},              // ①
    {0x2461, "2"},              // ②
    {0x2462, "3"},              // ③
    {0x2463, "4"},              // ④
    {0x2464, "5"},              // ⑤
    {0x2465, "6"},              // ⑥
    {0x2466, "7"},              // ⑦
    {0x2467, "8"},              // ⑧
    {0x2468, "9"},              // ⑨
    {0x2469, "10"},             // ⑩
    {0x246A, "11"},             // ⑪
    {0x246B, "12"},             // ⑫
    {0x246C, "13"},             // ⑬
    {0x246D, "14"},             // ⑭
    {0x246E, "15"},             // ⑮
    {0x246F, "16"},             // ⑯
    {0x2470, "17"},             // ⑰
    {0x2471, "18"},             // ⑱
    {0x2472, "19"},             // ⑲
    {0x2473, "20"},             // ⑳
    {0x3231, "株式会社"},       // ㈱
    {0x3232, "有限会社"},       // ㈲
    {0x3239, "代表"},           // ㈹
    {0x32A4, "上"},             // ㊤
    {0x32A5, "中"},             // ㊥
    {0x32A6, "下"},             // ㊦
    {0x32A7, "左"},             // ㊧
    {0x32A8, "右"},             // ㊨
    {0x3303, "アール"},         // ㌃
    {0x330D, "カロリー"},       // ㌍
    {0x3314, "キロ"},           // ㌔
    {0x3318, "グラム"},         // ㌘
    {0x3322, "センチ"},         // ㌢
    {0x3323, "セント"},         // ㌣
    {0x3326, "ドル"},           // ㌦
    {0x3327, "トン"},           // ㌧
    {0x332B, "パーセント"},     // ㌫
    {0x3336, "ヘクタール"},     // ㌶
    {0x333B, "ページ"},         // ㌻
    {0x3349, "ミリ"},           // ㍉
    {0x334A, "ミリバール"},     // ㍊
    {0x334D, "メートル"},       // ㍍
    {0x3351, "リットル"},       // ㍑
    {0x3357, "ワット"},         // ㍗
    {0x337B, "平成"},           // ㍻
    {0x337C, "昭和"},           // ㍼
    {0x337D, "大正"},           // ㍽
    {0x337E, "明治"},           // ㍾
    {0x338E, "ミリグラム"},     // ㎎
    {0x338F, "キログラム"},     // ㎏
    {0x339C, "ミリメートル"},   // ㎜
    {0x339D, "センチメートル"}, // ㎝
    {0x339E, "キロメートル"},   // ㎞
    {0x33A1, "平方メートル"},   // ㎡
    {0x33C4, "シーシー"},       // ㏄
    {0x33CD, "株式会社"},       // ㏍
    {0x519D, "宜"},             // 冝
    {0x589E, "増"},             // 增
    {0x5BEC, "寛"},             // 寬
    {0x5FB7, "徳"},             // 德
    {0x6085, "悦"},             // 悅
    {0x654E, "教"},             // 敎
    {0x663B, "昂"},             // 昻
    {0x6801, "柳"},             // 栁
    {0x6852, "桑"},             // 桒
    {0x6A6B, "横"},             // 橫
    {0x6DF8, "清"},             // 淸
    {0x6FF5, "浜"},             // 濵
    {0x7028, "瀬"},             // 瀨
    {0x7501, "瓶"},             // 甁
    {0x7DA0, "緑"},             // 綠
    {0x7DD6, "緒"},             // 緖
    {0x7FA1, "羨"},             // 羡
    {0x85B0, "薫"},             // 薰
    {0x8CF4, "頼"},             // 賴
    {0x90DE, "郎"},             // 郞
    {0x9115, "郷"},             // 鄕
    {0x974D, "鶴"},             // 靍
    {0x974F, "鶴"},             // 靏
    {0x9751, "青"},             // 靑
    {0x9AD9, "高"},             // 髙
    {0x9ED1, "黒"},             // 黑
    {0xF929, "朗"},             // 朗
    {0xF9DC, "隆"},             // 隆
    {0xFA10, "塚"},             // 塚
    {0xFA11, "崎"},             // 﨑
    {0xFA12, "晴"},             // 晴
    {0xFA14, "欅"},             // 﨔
    {0xFA16, "猪"},             // 猪
    {0xFA17, "益"},             // 益
    {0xFA18, "礼"},             // 礼
    {0xFA19, "神"},             // 神
    {0xFA1A, "祥"},             // 祥
    {0xFA1B, "福"},             // 福
    {0xFA1C, "靖"},             // 靖
    {0xFA1D, "精"},             // 精
    {0xFA1E, "羽"},             // 羽
    {0xFA22, "諸"},             // 諸
    {0xFA25, "逸"},             // 逸
    {0xFA26, "都"},             // 都
    {0xFA2A, "飯"},             // 飯
    {0xFA2B, "飼"},             // 飼
    {0xFA2C, "館"},             // 館
    {0xFA2D, "鶴"},             // 鶴
};

} // namespace

std::span<const ExtensionForm> ExtensionForms() {
    return kForms;
}

std::string_view ExtensionCharForm(char16_t c) {
    const auto it =
        std::lower_bound(std::begin(kForms), std::end(kForms), c,
                         [](const ExtensionForm& f, char16_t key) { return f.c < key; });
    if (it == std::end(kForms) || it->c != c) {
        return {};
    }
    return it->utf8;
}

} // namespace yomi6
