#include "text/char_classes.h"

#include "text/utf8_codec.h"

namespace yomi6 {

namespace {

// Whether every character of utf8 is of the class, and how many there are; false at a byte
// that starts no character.
template <typename Class> bool AllOf(std::string_view utf8, Class isOfClass, std::size_t& count) {
    count = 0;
    while (!utf8.empty()) {
        const Utf8Char c = FirstUtf8Char(utf8);
        if (c.length == 0 || !isOfClass(c.codePoint)) {
            return false;
        }
        utf8.remove_prefix(c.length);
        ++count;
    }
    return true;
}

} // namespace

bool HasHiragana(std::string_view utf8) {
    while (!utf8.empty()) {
        const Utf8Char c = FirstUtf8Char(utf8);
        if (c.length != 0 && IsHiragana(c.codePoint)) {
            return true;
        }
        utf8.remove_prefix(Utf8Step(utf8));
    }
    return false;
}

bool IsKatakanaWord(std::string_view utf8) {
    std::size_t count = 0;
    return AllOf(utf8, IsKatakana, count) && count >= 1;
}

bool StartsWithKatakana(std::string_view utf8) {
    const Utf8Char c = FirstUtf8Char(utf8);
    return c.length != 0 && IsKatakana(c.codePoint);
}

bool IsKanjiCompound(std::string_view utf8) {
    std::size_t count = 0;
    return AllOf(utf8, IsKanji, count) && count >= 2;
}

bool HoldsKanjiRun(std::string_view utf8) {
    bool kanji = false;
    std::size_t count = 0;
    while (!utf8.empty()) {
        const Utf8Char c = FirstUtf8Char(utf8);
        kanji = kanji || (c.length != 0 && IsKanji(c.codePoint));
        ++count;
        utf8.remove_prefix(Utf8Step(utf8));
    }
    return kanji && count >= 2;
}

} // namespace yomi6
