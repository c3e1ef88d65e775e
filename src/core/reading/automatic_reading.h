// The automatic reading: the user's words first, the analyzer for Japanese words, numbers as
// numbers, long vowels as the vowel before them, English words in katakana; other Latin letters
// and signs by the fixed rules.
#pragma once

#include "analysis/analyzer.h"
#include "aozora/aozora_notation.h"
#include "aozora/aozora_reading.h"
#include "dictionary/dictionary_view.h"
#include "english/english_lexicon.h"
#include "reading/reading_conversion.h"
#include "reading/source_range.h"

#include <vector>

namespace yomi6 {

// The longest reading kept whole: a word read longer than this (a run of thousands of digits
// or kana the analyzer takes as one word) is read character by character instead, so that the
// buffer fills up to its last whole character rather than stopping before the run.
inline constexpr std::size_t kMaxWholeWordReading = 256;

// What a reading shares with its caller beyond the text, each when given.
struct ReadingShared {
    // The words given a ruby across a reader's passes: learns this text's (RubyGlossary).
    RubyGlossary* rubies = nullptr;
    // Receives in order the source ranges of the words read otherwise than their characters are
    // written, which a reader of the characters alone would say differently: a user word, a
    // number with its counter, a ruby's base, a word read by the words beside it (都 ﾐﾔｺ), a gaiji
    // or a character beyond JIS X 0208 (髙橋, ㈱), an English word said in katakana. Spelled
    // Latin letters and signs are not among them.
    std::vector<SourceRange>* readOtherwise = nullptr;
    // The English pronouncing dictionary: a Latin word it knows (not an acronym) is said in
    // katakana (english_reading.h). Null: every Latin word is spelled.
    english::EnglishLexicon* english = nullptr;
};

// Reads the first min(n, 4000) bytes of text (code page 932) into reading and source (both
// zero-filled first). Every reading byte maps to the source bytes of its word: a user word, an
// analyzer word, a number with its counter, or a single character. The ranges lie inside the
// text and never go backwards. The reading stops after the last whole word that fits in 4095
// bytes; sourceEnd says where it stopped. The built-in dictionary rows are not used.
// With notation (parsed from the same bytes) the text is read as Aozora notation: the silent
// notation gives no reading, a ruby's base is read as its ruby (its range the base's bytes) and
// a gaiji as the character it names. A word of kanji given a ruby before, in this text or in
// shared.rubies, is read by its ruby where it recurs.
ReadingResult ConvertAutomatic(const unsigned char* text, std::size_t n, const DictionaryView& dic,
                               Analyzer& analyzer, unsigned char (&reading)[kReadingBufferSize],
                               SourceRange (&source)[kReadingBufferSize],
                               const AozoraNotation* notation = nullptr,
                               const ReadingShared& shared = {});

} // namespace yomi6
