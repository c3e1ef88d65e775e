// The notation of Aozora Bunko texts: ruby 《…》 after its base (a run of kanji, or the text
// from ｜), ［＃…］ notes, gaiji ※［＃…、第3水準1-84-77］, accent notation 〔Cafe'〕, the block
// between two dashed lines that explains the notation, and the colophon from "底本：" to the end.
// The parser finds them in code page 932 bytes; the automatic reading then reads such a text as
// the book: each ruby for its base, the notation silent, a gaiji as the character it names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace yomi6 {

// Whether a text is read as Aozora notation: never, when it looks like it, or always.
enum class AozoraMode : std::int32_t { Off = 0, Auto = 1, On = 2 };

// Bytes [begin, end) of the parsed text.
struct NotationRange {
    std::size_t begin = 0;
    std::size_t end = 0;
    bool operator==(const NotationRange&) const = default;
};

// A base word with its ruby: the base's bytes and the ruby's text (UTF-8, as written).
struct RubyWord {
    NotationRange base;
    std::string reading;
    bool operator==(const RubyWord&) const = default;
};

// Bytes that stand for other text: a gaiji note for its character (UTF-8), an accented letter
// for the letter it shows.
struct NotationText {
    NotationRange range;
    std::string utf8;
    bool operator==(const NotationText&) const = default;
};

struct AozoraNotation {
    std::vector<NotationRange> silent;  // sorted, never overlapping
    std::vector<RubyWord> ruby;         // sorted by base
    std::vector<NotationText> gaiji;    // read and shown as their character
    std::vector<NotationText> accented; // shown only: the letters are read, the marks are silent
};

// The notation in text (code page 932; or UTF-16, the ranges then in its units). Ruby, notes,
// gaiji and accents lie within one line; an opening mark without its closing mark on the line
// is ordinary text. The time taken grows with the length of the text, never with its square,
// whatever the text holds.
AozoraNotation ParseAozoraNotation(std::string_view text);
AozoraNotation ParseAozoraNotation(std::u16string_view text);

// What a ruby's base may be made of without ｜: kanji and 々 〆 ヶ (and 〇, a kanji numeral).
bool IsRubyBaseKanji(char32_t c);

// Whether text holds any of the notation: a ［＃…］ note, a ruby of kana after kanji or after
// ｜, the explaining block or a colophon line.
bool LooksLikeAozora(std::string_view text);
bool LooksLikeAozora(std::u16string_view text);

// Where the colophon's "底本：" line starts (bytes, or UTF-16 units), npos without one.
std::size_t FindColophon(std::string_view text);
std::size_t FindColophon(std::u16string_view text);

// Where a reading that starts at begin starts: after the notation block when the text is read
// as Aozora notation and begin lies inside the block, else begin.
std::size_t AozoraReadStart(bool aozora, std::u16string_view text, std::size_t begin);

// Whether a text is read as Aozora notation in mode.
bool ReadsAsAozora(AozoraMode mode, std::string_view text);
bool ReadsAsAozora(AozoraMode mode, std::u16string_view text);

// The end of the part of a text that is read: the colophon's start when the text is read as
// Aozora notation and has one, else end.
std::size_t AozoraReadEnd(bool aozora, std::string_view text, std::size_t end);
std::size_t AozoraReadEnd(bool aozora, std::u16string_view text, std::size_t end);

// text (code page 932) in UTF-8 as a reader sees it on the page: without the silent notation,
// each gaiji as its character and each accented letter with its accent, and the bytes of
// shownAs (outside the silent notation) as their text.
std::string NotationFreeText(std::string_view text, const std::vector<NotationText>& shownAs = {});

// The notation of bytes [begin, end) of the text it was parsed from, counted from begin: the
// rubies and gaiji wholly inside, and the silent notation as far as it lies inside.
AozoraNotation NotationWithin(const AozoraNotation& notation, std::size_t begin, std::size_t end);

} // namespace yomi6
