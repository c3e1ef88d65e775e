// The source text of the automatic reading, character by character: each code page 932
// character with its bytes, what kind of character it is, and its place in a UTF-8 copy of the
// text that the analyzer and the number reading take.
#pragma once

#include "analysis/analyzer.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace yomi6 {

enum class CharKind : std::uint8_t {
    Japanese,   // kanji, hiragana, full-width katakana, ー 々 〆 〇 and the iteration marks
    Digit,      // 0-9 or ０-９
    Letter,     // A-Z a-z, full-width or not
    HalfKana,   // a half-width katakana or punctuation byte 0xA1-0xDF
    OtherByte,  // any other single byte: ASCII signs, blanks, control bytes, line ends
    OtherWide,  // any other two-byte character (signs, Greek, box drawing, circled numbers)
    Undecodable // a byte that starts no character (a lone lead byte, NUL) or an unmapped code
};

struct SourceChar {
    std::uint16_t begin = 0; // source bytes [begin, begin + length)
    std::uint8_t length = 0; // 1 or 2
    CharKind kind = CharKind::OtherByte;
    char16_t ch = 0;             // the character (U+FFFD for an undecodable byte)
    std::uint32_t utf8Begin = 0; // its bytes in SourceText::utf8
};

// The UTF-8 copy holds each character as the analyzer and the number reading should see it:
// a character of code page 932 beyond JIS X 0208 is written in its readable form (① as 1, ㈱ as
// 株式会社, see extension_chars.h) and takes its kind from that form, while its source bytes stay
// its own.

struct SourceText {
    std::vector<SourceChar> chars;
    std::string utf8; // every character in UTF-8, undecodable bytes as U+FFFD

    // The index of the first character whose UTF-8 bytes begin at or after utf8Offset.
    std::size_t CharAtUtf8(std::size_t utf8Offset) const;
    // The index of the first character that begins at or after sourceOffset.
    std::size_t CharAtSource(std::size_t sourceOffset) const;
    // Source byte offset where character i begins (the end of the text for i == size).
    std::size_t SourceBegin(std::size_t i) const;
    std::size_t Utf8Begin(std::size_t i) const;
    // Whether a character's UTF-8 bytes begin at utf8Offset (or it is the end of the copy).
    bool IsCharBoundary(std::size_t utf8Offset) const;
};

// Joins each analyzed word that ends inside one character's UTF-8 bytes (a word of a readable
// form such as 株式 of 株式会社 for ㈱) with the words after it up to a character boundary, so
// that every word maps to whole source characters. Word offsets count from base in the copy.
void JoinWordsInsideCharacters(const SourceText& source, std::size_t base,
                               std::vector<AnalyzedWord>& words);

// Splits text (code page 932) into characters. A lead byte that no legal trail byte follows is
// one undecodable byte; so is NUL.
void DecodeSource(const unsigned char* text, std::size_t n, SourceText& out);

} // namespace yomi6
