#include "reading/kana_folding.h"

#include <cstring>

namespace yomi6 {

namespace {

struct Folded {
    const char* bytes;
    std::size_t length;
};

// Readings of the digits 0-9. The blank after 2 and 5 lengthens them and is part of the output.
constexpr Folded kDigits[10] = {
    {"\xBE\xDE\xDB", 3}, // 0 ｾﾞﾛ
    {"\xB2\xC1", 2},     // 1 ｲﾁ
    {"\xC6\x20", 2},     // 2 ﾆ
    {"\xBB\xDD", 2},     // 3 ｻﾝ
    {"\xD6\xDD", 2},     // 4 ﾖﾝ
    {"\xBA\xDE\x20", 3}, // 5 ｺﾞ
    {"\xDB\xB8", 2},     // 6 ﾛｸ
    {"\xC5\xC5", 2},     // 7 ﾅﾅ
    {"\xCA\xC1", 2},     // 8 ﾊﾁ
    {"\xB7\xAD\xB3", 3}, // 9 ｷｭｳ
};

// Readings of the letters A-Z; capital and small letters read alike.
constexpr Folded kLetters[26] = {
    {"\xB4\xB2", 2},                     // A ｴｲ
    {"\xCB\xDE\xB2", 3},                 // B ﾋﾞｲ
    {"\xBC\xB2", 2},                     // C ｼｲ
    {"\xC3\xDE\xA8\xB2", 4},             // D ﾃﾞｨｲ
    {"\xB2\xB2", 2},                     // E ｲｲ
    {"\xB4\xCC", 2},                     // F ｴﾌ
    {"\xBC\xDE\xB2", 3},                 // G ｼﾞｲ
    {"\xB4\xAF\xC1", 3},                 // H ｴｯﾁ
    {"\xB1\xB2", 2},                     // I ｱｲ
    {"\xBC\xDE\xAA\xB2", 4},             // J ｼﾞｪｲ
    {"\xB9\xB2", 2},                     // K ｹｲ
    {"\xB4\xD9", 2},                     // L ｴﾙ
    {"\xB4\xD1", 2},                     // M ｴﾑ
    {"\xB4\xC7", 2},                     // N ｴﾇ
    {"\xB5\xB5", 2},                     // O ｵｵ
    {"\xCB\xDF\xB2", 3},                 // P ﾋﾟｲ
    {"\xB7\xAD\xB3", 3},                 // Q ｷｭｳ
    {"\xB1\xB1\xD9", 3},                 // R ｱｱﾙ
    {"\xB4\xBD", 2},                     // S ｴｽ
    {"\xC3\xA8\xB2", 3},                 // T ﾃｨｲ
    {"\xD5\xB3", 2},                     // U ﾕｳ
    {"\xCC\xDE\xB2", 3},                 // V ﾌﾞｲ
    {"\xC0\xDE\xCC\xDE\xD8\xAD\xB3", 7}, // W ﾀﾞﾌﾞﾘｭｳ
    {"\xB4\xAF\xB8\xBD", 4},             // X ｴｯｸｽ
    {"\xDC\xB2", 2},                     // Y ﾜｲ
    {"\xBE\xDE\xAF\xC4", 4},             // Z ｾﾞｯﾄ
};

// Half-width katakana of the hiragana ぁ (0x829F) to ん (0x82F1), indexed by second byte - 0x9F.
// Full-width katakana share it through their hiragana partner.
constexpr Folded kKana[0xF1 - 0x9F + 1] = {
    {"\xA7", 1},     // ぁ
    {"\xB1", 1},     // あ
    {"\xA8", 1},     // ぃ
    {"\xB2", 1},     // い
    {"\xA9", 1},     // ぅ
    {"\xB3", 1},     // う
    {"\xAA", 1},     // ぇ
    {"\xB4", 1},     // え
    {"\xAB", 1},     // ぉ
    {"\xB5", 1},     // お
    {"\xB6", 1},     // か
    {"\xB6\xDE", 2}, // が
    {"\xB7", 1},     // き
    {"\xB7\xDE", 2}, // ぎ
    {"\xB8", 1},     // く
    {"\xB8\xDE", 2}, // ぐ
    {"\xB9", 1},     // け
    {"\xB9\xDE", 2}, // げ
    {"\xBA", 1},     // こ
    {"\xBA\xDE", 2}, // ご
    {"\xBB", 1},     // さ
    {"\xBB\xDE", 2}, // ざ
    {"\xBC", 1},     // し
    {"\xBC\xDE", 2}, // じ
    {"\xBD", 1},     // す
    {"\xBD\xDE", 2}, // ず
    {"\xBE", 1},     // せ
    {"\xBE\xDE", 2}, // ぜ
    {"\xBF", 1},     // そ
    {"\xBF\xDE", 2}, // ぞ
    {"\xC0", 1},     // た
    {"\xC0\xDE", 2}, // だ
    {"\xC1", 1},     // ち
    {"\xC1\xDE", 2}, // ぢ
    {"\xAF", 1},     // っ
    {"\xC2", 1},     // つ
    {"\xC2\xDE", 2}, // づ
    {"\xC3", 1},     // て
    {"\xC3\xDE", 2}, // で
    {"\xC4", 1},     // と
    {"\xC4\xDE", 2}, // ど
    {"\xC5", 1},     // な
    {"\xC6", 1},     // に
    {"\xC7", 1},     // ぬ
    {"\xC8", 1},     // ね
    {"\xC9", 1},     // の
    {"\xCA", 1},     // は
    {"\xCA\xDE", 2}, // ば
    {"\xCA\xDF", 2}, // ぱ
    {"\xCB", 1},     // ひ
    {"\xCB\xDE", 2}, // び
    {"\xCB\xDF", 2}, // ぴ
    {"\xCC", 1},     // ふ
    {"\xCC\xDE", 2}, // ぶ
    {"\xCC\xDF", 2}, // ぷ
    {"\xCD", 1},     // へ
    {"\xCD\xDE", 2}, // べ
    {"\xCD\xDF", 2}, // ぺ
    {"\xCE", 1},     // ほ
    {"\xCE\xDE", 2}, // ぼ
    {"\xCE\xDF", 2}, // ぽ
    {"\xCF", 1},     // ま
    {"\xD0", 1},     // み
    {"\xD1", 1},     // む
    {"\xD2", 1},     // め
    {"\xD3", 1},     // も
    {"\xAC", 1},     // ゃ
    {"\xD4", 1},     // や
    {"\xAD", 1},     // ゅ
    {"\xD5", 1},     // ゆ
    {"\xAE", 1},     // ょ
    {"\xD6", 1},     // よ
    {"\xD7", 1},     // ら
    {"\xD8", 1},     // り
    {"\xD9", 1},     // る
    {"\xDA", 1},     // れ
    {"\xDB", 1},     // ろ
    {"\xDC", 1},     // ゎ
    {"\xDC", 1},     // わ
    {"\xB2", 1},     // ゐ
    {"\xB4", 1},     // ゑ
    {"\xA6", 1},     // を
    {"\xDD", 1},     // ん
};

constexpr std::uint8_t kBlank = 0x20;
constexpr std::uint8_t kPause = 0x2D;

std::size_t Put(const Folded& f, std::uint8_t* out) {
    std::memcpy(out, f.bytes, f.length);
    return f.length;
}

std::size_t PutByte(std::uint8_t b, std::uint8_t* out) {
    out[0] = b;
    return 1;
}

std::size_t FoldHiragana(std::uint8_t second, std::uint8_t* out) {
    return Put(kKana[second - 0x9F], out);
}

} // namespace

std::size_t FoldSingleByte(std::uint8_t b, std::uint8_t* out) {
    if (b >= '0' && b <= '9') {
        return Put(kDigits[b - '0'], out);
    }
    if (b >= 'A' && b <= 'Z') {
        return Put(kLetters[b - 'A'], out);
    }
    if (b >= 'a' && b <= 'z') {
        return Put(kLetters[b - 'a'], out);
    }
    return PutByte(b, out);
}

std::size_t FoldRow82(std::uint8_t b, std::uint8_t* out) {
    if (b >= 0x4F && b <= 0x58) {
        return Put(kDigits[b - 0x4F], out); // ０-９
    }
    if (b >= 0x60 && b <= 0x79) {
        return Put(kLetters[b - 0x60], out); // Ａ-Ｚ
    }
    if (b >= 0x81 && b <= 0x9A) {
        return Put(kLetters[b - 0x81], out); // ａ-ｚ
    }
    if (b >= 0x9F && b <= 0xF1) {
        return FoldHiragana(b, out); // ぁ-ん
    }
    return PutByte(kBlank, out);
}

std::size_t FoldRow83(std::uint8_t b, std::uint8_t* out) {
    if (b >= 0x40 && b <= 0x7E) {
        return FoldHiragana(static_cast<std::uint8_t>(b + 0x5F), out); // ァ-ミ
    }
    if (b >= 0x80 && b <= 0x93) {
        return FoldHiragana(static_cast<std::uint8_t>(b + 0x5E), out); // ム-ン
    }
    if (b == 0x94) {
        out[0] = 0xB3; // ヴ: ｳﾞ
        out[1] = 0xDE;
        return 2;
    }
    return PutByte(kBlank, out); // 0x7F (no character), ヵ, ヶ and the rest
}

std::size_t FoldRow81(std::uint8_t b, std::uint8_t* out) {
    switch (b) {
    case 0x40: // full-width blank
    case 0x41: // 、
    case 0x42: // 。
    case 0x43: // ，
    case 0x44: // ．
    case 0x45: // ・
    case 0x5B: // ー
    case 0x5C: // ―
        return PutByte(kPause, out);
    default:
        return PutByte(kBlank, out);
    }
}

} // namespace yomi6
