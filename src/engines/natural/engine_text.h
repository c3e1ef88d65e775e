// The text one chunk is given to the engine as (UTF-8, one line), and where each of its
// characters came from in the source bytes. The chunk is read by the automatic reading first,
// and every word that reading says otherwise than its characters are written is given to the
// engine as that reading in katakana, so that the engine says what the program reads: a user's
// word, a number with its counter (二三人 ﾆｻﾝﾆﾝ), a word read by the words beside it (都 ﾐﾔｺ), a
// character beyond JIS X 0208 (髙橋, ㈱), and, in a text read as Aozora notation, a ruby's base
// as its ruby and a gaiji as its character; the notation itself is left out. Latin letters and
// signs, which the engine says by rules of its own (ABC エービーシー, ＠ アット), are given as the
// reading says them too (ABC ｴｲﾋﾞｲｼｲ, ＠ nothing). Every other word is given as written, for the
// engine to say in its own accent. Each character written from the reading carries its word's
// source bytes; a blank stands where the reading is silent.
#pragma once

#include "analysis/analyzer_loader.h"
#include "aozora/aozora_notation.h"
#include "dictionary/dictionary_view.h"
#include "natural/chunking.h"

#include <string>
#include <string_view>
#include <vector>

namespace yomi6::natural {

// The most bytes of engine text one engine run is given. The engine reads the first 1,022
// bytes of its input line and widens each ASCII character to three bytes before it analyses
// them in a buffer of 1,024 (a longer line is cut short, a widened one overflows it): the
// engine text holds no ASCII, and stays well within that.
inline constexpr std::size_t kMaxEngineBytes = 900;

struct EngineText {
    std::string utf8;               // what the engine reads: no ASCII, no line end
    std::vector<char32_t> folded;   // its characters in the folded form the alignment compares
    std::vector<ByteRange> sources; // the source bytes of each character of folded
    // Whether each character of folded was written from the automatic reading's piece of a
    // word it says otherwise than written, or of a Latin letter or a sign.
    std::vector<bool> fromReading;
    // Whether a word starts at each character of folded: a text cut there cuts no word.
    std::vector<bool> wordStart;
};

// The engine's text of chunk (source bytes of text, code page 932). Half-width katakana become
// full-width (ｶﾞ as ガ), ASCII its full-width form, line ends, tabs and control characters
// blanks, and bytes that are no character are left out. dic may be null: no user words. The
// automatic reading's analyzer is opened from $YOMI6_MECAB_DIC, else analyzerFolder (the run's
// folder, as the settings name it), else the default folder; where it cannot be opened, the
// engine is given the chunk as it is, with the user's words as their readings and the
// characters beyond JIS X 0208 in their readable form. notation, when given, is the Aozora
// notation of the whole text, which the chunk is then read as.
EngineText BuildEngineText(std::string_view text, ByteRange chunk, const DictionaryView* dic,
                           const std::string& analyzerFolder = {},
                           const AozoraNotation* notation = nullptr);
// The same, read by reader's analyzer (its owner's, loaded at its first use and kept for the
// next chunk; one thread uses it at a time).
EngineText BuildEngineText(std::string_view text, ByteRange chunk, const DictionaryView* dic,
                           AnalyzerLoader& reader, const AozoraNotation* notation);

// The engine text cut into pieces of at most maxBytes bytes, each one engine run: after a pause
// sign where one lies within the limit, else after a blank, else before a word, else between
// two morae. A text within the limit is one piece.
std::vector<EngineText> SplitEngineText(const EngineText& text,
                                        std::size_t maxBytes = kMaxEngineBytes);

// A character as the alignment compares it: full-width ASCII as ASCII, the ideographic blank as
// a blank, hiragana as katakana, upper-case Latin letters as lower-case.
char32_t FoldChar(char32_t c);

// The UTF-8 text as code points (a malformed byte becomes U+FFFD).
std::u32string DecodeUtf8Points(std::string_view utf8);

// Half-width katakana text (U+FF61-U+FF9F, with separate voicing marks) as full-width katakana;
// anything else as it is.
std::u32string FullWidthKana(std::u16string_view text);

} // namespace yomi6::natural
