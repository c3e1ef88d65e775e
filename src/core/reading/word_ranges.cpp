#include "reading/word_ranges.h"

#include "text/cp932.h"

#include <algorithm>
#include <cstdint>

namespace yomi6 {

namespace {

enum class Script : std::uint8_t { Kanji, Hiragana, Katakana, HalfKana, Alnum, Other };

Script WideScript(unsigned code) {
    if (code == 0x8158 || (code >= 0x889F && code <= 0x9FFC) ||
        (code >= 0xE040 && code <= 0xEAA4)) {
        return Script::Kanji; // 々 and the two kanji levels
    }
    if (code >= 0x829F && code <= 0x82F1) {
        return Script::Hiragana;
    }
    if (code == 0x815B || (code >= 0x8340 && code <= 0x8396)) {
        return Script::Katakana; // ー and the katakana
    }
    if (code >= 0x824F && code <= 0x829A) {
        return Script::Alnum; // full-width digits and letters
    }
    return Script::Other;
}

Script NarrowScript(unsigned char b) {
    if (b >= 0xA6 && b <= 0xDF) {
        return Script::HalfKana;
    }
    if ((b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z')) {
        return Script::Alnum;
    }
    return Script::Other;
}

} // namespace

std::vector<SourceRange> WordRanges(std::string_view bytes) {
    std::vector<SourceRange> words;
    const std::size_t n = std::min<std::size_t>(bytes.size(), UINT16_MAX);
    Script current = Script::Other;
    std::size_t i = 0;
    while (i < n) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        std::size_t length = 1;
        Script script = NarrowScript(b);
        if (cp932::IsLeadByte(b) && i + 1 < n) {
            length = 2;
            script = WideScript(static_cast<unsigned>(b) << 8U |
                                static_cast<unsigned char>(bytes[i + 1]));
        }
        const auto begin = static_cast<std::uint16_t>(i);
        const auto end = static_cast<std::uint16_t>(i + length);
        if (!words.empty() && script == current && script != Script::Other) {
            words.back().end = end;
        } else {
            words.push_back({begin, end});
        }
        current = script;
        i += length;
    }
    return words;
}

SourceRange WordAround(const std::vector<SourceRange>& words, SourceRange unit) {
    if (unit.end <= unit.begin) {
        return unit;
    }
    const auto holding = [&words](std::uint16_t byte) {
        const auto it = std::upper_bound(
            words.begin(), words.end(), byte,
            [](std::uint16_t value, const SourceRange& word) { return value < word.begin; });
        return it == words.begin() || (it - 1)->end <= byte ? words.end() : it - 1;
    };
    const auto first = holding(unit.begin);
    const auto last = holding(static_cast<std::uint16_t>(unit.end - 1));
    SourceRange word = unit;
    if (first != words.end()) {
        word.begin = std::min(word.begin, first->begin);
    }
    if (last != words.end()) {
        word.end = std::max(word.end, last->end);
    }
    return word;
}

} // namespace yomi6
