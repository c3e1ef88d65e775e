#include "dictionary/dic_tables.h"

#include <cstring>

namespace yomi6 {
namespace {

// The built-in rows, which fill slots 0-18 of every dictionary's tables.
constexpr char kBuiltinWords[kBuiltinRows][kWordSlotSize] = {
    "\x89\xB9\x90\xBA",                 //  0: 音声 ｵﾝｾｲ
    "\x8D\x87\x90\xAC",                 //  1: 合成 ｺﾞｳｾｲ
    "\x82\xCD\x81\x41",                 //  2: は、 ﾜ､
    "\x89\x9F\x82\xB7",                 //  3: 押す ｵｽ
    "\x8A\xBF\x8E\x9A",                 //  4: 漢字 ｶﾝｼﾞ
    "\x8B\x4C\x8D\x86",                 //  5: 記号 ｷｺﾞｳ
    "\x92\x50\x8C\xEA\x93\x6F\x98\x5E", //  6: 単語登録 ﾀﾝｺﾞﾄｳﾛｸ
    "\x92\xC7\x89\xC1",                 //  7: 追加 ﾂｲｶ
    "\x90\xBA",                         //  8: 声 ｺｴ
    "\x92\x9D",                         //  9: 喋 ｼｬﾍﾞ
    "\x82\xB1\x82\xCC\x93\x78",         // 10: この度 ｺﾉﾀﾋﾞ
    "\x50\x61\x64",                     // 11: Pad ﾊﾟｯﾄﾞ
    "\x8D\xA1\x93\x78",                 // 12: 今度 ｺﾝﾄﾞ
    "\x92\x6A\x90\xAB",                 // 13: 男性 ﾀﾞﾝｾｲ
    "\x8F\x97\x90\xAB",                 // 14: 女性 ｼﾞｮｾｲ
    "\x8F\xEA\x8D\x87",                 // 15: 場合 ﾊﾞｱｲ
    "\x8E\x6E\x82\xDF",                 // 16: 始め ﾊｼﾞﾒ
    "\x92\x86\x8E\x7E",                 // 17: 中止 ﾁｭｳｼ
    "\x90\xD8\x82\xE8\x91\xD6\x82\xA6", // 18: 切り替え ｷﾘｶｴ
};

constexpr char kBuiltinYomi[kBuiltinRows][kYomiSlotSize] = {
    "\xB5\xDD\xBE\xB2",                 //  0: 音声 ｵﾝｾｲ
    "\xBA\xDE\xB3\xBE\xB2",             //  1: 合成 ｺﾞｳｾｲ
    "\xDC\xA4",                         //  2: は、 ﾜ､
    "\xB5\xBD",                         //  3: 押す ｵｽ
    "\xB6\xDD\xBC\xDE",                 //  4: 漢字 ｶﾝｼﾞ
    "\xB7\xBA\xDE\xB3",                 //  5: 記号 ｷｺﾞｳ
    "\xC0\xDD\xBA\xDE\xC4\xB3\xDB\xB8", //  6: 単語登録 ﾀﾝｺﾞﾄｳﾛｸ
    "\xC2\xB2\xB6",                     //  7: 追加 ﾂｲｶ
    "\xBA\xB4",                         //  8: 声 ｺｴ
    "\xBC\xAC\xCD\xDE",                 //  9: 喋 ｼｬﾍﾞ
    "\xBA\xC9\xC0\xCB\xDE",             // 10: この度 ｺﾉﾀﾋﾞ
    "\xCA\xDF\xAF\xC4\xDE",             // 11: Pad ﾊﾟｯﾄﾞ
    "\xBA\xDD\xC4\xDE",                 // 12: 今度 ｺﾝﾄﾞ
    "\xC0\xDE\xDD\xBE\xB2",             // 13: 男性 ﾀﾞﾝｾｲ
    "\xBC\xDE\xAE\xBE\xB2",             // 14: 女性 ｼﾞｮｾｲ
    "\xCA\xDE\xB1\xB2",                 // 15: 場合 ﾊﾞｱｲ
    "\xCA\xBC\xDE\xD2",                 // 16: 始め ﾊｼﾞﾒ
    "\xC1\xAD\xB3\xBC",                 // 17: 中止 ﾁｭｳｼ
    "\xB7\xD8\xB6\xB4",                 // 18: 切り替え ｷﾘｶｴ
};

} // namespace

ZeroedPtr<DicTables> MakeDicTables() {
    ZeroedPtr<DicTables> tables = MakeZeroed<DicTables>();
    tables->PutBuiltinRows();
    return tables;
}

int DicTables::UsedSlots() const {
    for (int i = 0; i < kDicSlots; ++i) {
        if (yomi[i][0] == '\0') {
            return i;
        }
    }
    return kDicSlots;
}

void DicTables::Reset() {
    std::memset(word, 0, sizeof word);
    std::memset(yomi, 0, sizeof yomi);
    PutBuiltinRows();
}

void DicTables::PutBuiltinRows() {
    std::memcpy(word, kBuiltinWords, sizeof kBuiltinWords);
    std::memcpy(yomi, kBuiltinYomi, sizeof kBuiltinYomi);
}

} // namespace yomi6
