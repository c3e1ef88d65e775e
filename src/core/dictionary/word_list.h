// Word lists in and out of the dictionary: one word and its reading per line, as comma-separated
// values (fields may be quoted) or tab-separated, in UTF-8 (with or without a byte order mark)
// or in Shift-JIS.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace yomi6 {

enum class WordListSeparator { Comma, Tab };
enum class WordListEncoding { Utf8, Utf8WithBom, ShiftJis };

// A word and its reading as the dictionary holds them: code page 932 bytes.
struct WordEntry {
    std::string word;
    std::string yomi;
    bool operator==(const WordEntry&) const = default;
};

// A line of a word list that becomes a row.
struct WordListRow {
    int line = 0; // from 1
    WordEntry entry;
};

// Why a line was skipped.
enum class WordListProblem {
    NotTwoFields,  // not exactly a word and a reading (or an unterminated quote)
    InvalidBytes,  // bytes that are no text in the file's encoding
    NotInCodePage, // a character code page 932 cannot hold
    EmptyField,    // the word or the reading is empty once blanks are removed
    WordTooLong,   // more than 12 bytes
    YomiTooLong,   // more than 20 bytes once converted to half-width katakana
    YomiNotKana,   // the reading holds characters that cannot be spoken (kanji, letters, digits)
};

struct WordListSkip {
    int line = 0;
    WordListProblem problem;
    std::string text; // the line as UTF-8, for the report (cut to 80 bytes)
};

struct ParsedWordList {
    WordListEncoding encoding = WordListEncoding::Utf8;
    std::vector<WordListRow> rows;
    std::vector<WordListSkip> skipped;
    int headerLine = 0; // the line of a header row ("単語,読み", "word,reading"); 0: none
};

// The encoding of a word list file: a byte order mark says UTF-8; else bytes that are valid
// UTF-8 are taken as UTF-8, anything else as Shift-JIS.
WordListEncoding DetectWordListEncoding(std::string_view bytes);

// Reads a word list. Lines end with CR LF, LF or CR; empty lines are passed over, and so is a
// first row that names the columns ("単語,読み" or "word,reading", in either separator). With
// commas, a field may be quoted ("a, ""b""") and blanks around unquoted fields are dropped;
// with tabs, fields are taken as they stand, except a quoted field that holds a control
// character (a tab, a line break), which is how WriteWordList writes one. A quoted field may
// hold line breaks; its record then spans lines and is numbered by its first. Words lose
// their blanks as the dictionary's cleaning does; readings in hiragana or full-width katakana
// become half-width katakana. A record that cannot become a row is listed in skipped with its
// line number and is left out.
ParsedWordList ParseWordList(std::string_view bytes, WordListSeparator separator);
ParsedWordList ParseWordList(std::string_view bytes, WordListSeparator separator,
                             WordListEncoding encoding);

// The word list of entries, one per line ending with CR LF. Comma-separated fields are quoted
// when they hold a comma, a quote, a control character (a line break) or leading or trailing
// blanks; tab-separated ones when they hold a control character (a tab, a line break). Every
// such list reads back through ParseWordList to the same entries. Bytes that are no character
// of code page 932 (remnants of a damaged file) are written as U+FFFD in UTF-8.
std::string WriteWordList(const std::vector<WordEntry>& entries, WordListSeparator separator,
                          WordListEncoding encoding);

// A short Japanese description of a problem, for the import report (UTF-8).
std::string_view DescribeWordListProblem(WordListProblem problem);

} // namespace yomi6
