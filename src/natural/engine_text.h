// The text one chunk is given to the engine as (UTF-8, one line), and where each of its
// characters came from in the source bytes. The user's dictionary words come first: a word the
// user registered is written as its registered reading in katakana, so that the engine says it
// as registered, and every character of that reading carries the whole word's source bytes.
// Latin letters and signs, which the engine says by rules of its own (ABC エービーシー, ＠ アット),
// are written as the automatic reading says them (ABC ｴｲﾋﾞｲｼｲ, Linux as its word, ＠ nothing):
// each word, number, letter or sign of that reading that holds one becomes its katakana, or a
// blank where the reading is silent, and carries that piece's source bytes.
#pragma once

#include "dictionary/dictionary_view.h"
#include "natural/chunking.h"

#include <string>
#include <string_view>
#include <vector>

namespace yomi6::natural {

struct EngineText {
    std::string utf8;                 // what the engine reads
    std::vector<char32_t> folded;     // its characters in the folded form the alignment compares
    std::vector<ByteRange> sources;   // the source bytes of each character of folded
    std::vector<ByteRange> userWords; // the source bytes of each user word written as its reading
    // Whether each character of folded was written from the automatic reading's piece of a
    // Latin letter or a sign.
    std::vector<bool> fromReading;
};

// The engine's text of chunk (source bytes of text, code page 932). Half-width katakana become
// full-width (ｶﾞ as ガ), line ends, tabs and control characters blanks, and bytes that are no
// character are left out. dic may be null: no user words. The automatic reading's analyzer is
// opened for a chunk that holds a Latin letter or a sign, from $YOMI6_MECAB_DIC, else
// analyzerFolder (the run's folder, as the settings name it), else the default folder; where it
// cannot be opened, the engine is given the chunk as it is.
EngineText BuildEngineText(std::string_view text, ByteRange chunk, const DictionaryView* dic,
                           const std::string& analyzerFolder = {});

// A character as the alignment compares it: full-width ASCII as ASCII, the ideographic blank as
// a blank, hiragana as katakana, upper-case Latin letters as lower-case.
char32_t FoldChar(char32_t c);

// The UTF-8 text as code points (a malformed byte becomes U+FFFD).
std::u32string DecodeUtf8Points(std::string_view utf8);

// Half-width katakana text (U+FF61-U+FF9F, with separate voicing marks) as full-width katakana;
// anything else as it is.
std::u32string FullWidthKana(std::u16string_view text);

} // namespace yomi6::natural
