// Any bytes read as a word list, with either separator, the encoding detected or given: every row
// that comes back fits a dictionary record and holds only what a reading may hold, every line is
// either a row or skipped (never both), the rows written out read back the same in both
// encodings, and planning their import into a dictionary that already holds a few words accounts
// for every row and changes only records it may change.
//
// Input: one byte of choices (bit 0 the separator, bits 1-2 the encoding: detected, UTF-8 or
// Shift-JIS; bit 3 what happens to duplicates), then the word list. Each input is read once and
// planned once, against an image made once: a full 340 KB image per plan, four times over,
// held the fuzzer to a few dozen inputs a second.
#include "dictionary/dic_records.h"
#include "dictionary/word_list.h"
#include "dictionary/word_list_import.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace yomi6;

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// A dictionary with a few words in scattered records, so that a list's words can be new,
// duplicates with another reading, or there already with the same one.
struct Dictionary {
    std::vector<unsigned char> image = std::vector<unsigned char>(kDicImageSize);
    std::set<int> used;

    Dictionary() {
        const struct {
            int record;
            const char* word;
            const char* yomi;
        } words[] = {
            {0, "a", "\xb1"},                            // a → ｱ
            {2, "\x89\xb9\x90\xba", "\xb5\xdd\xbe\xb2"}, // 音声 → ｵﾝｾｲ
            {5, "word", "\xdc\xb0\xc4\xde"},             // ﾜｰﾄﾞ
            {kUserRows - 1, "last", "\xd7\xbd\xc4"},     // ﾗｽﾄ
        };
        for (const auto& w : words) {
            unsigned char* record = image.data() + static_cast<std::size_t>(w.record) * kRecordSize;
            std::memcpy(record, w.word, std::strlen(w.word));
            std::memcpy(record + kWordSlotSize, w.yomi, std::strlen(w.yomi));
            used.insert(w.record);
        }
    }
};

const Dictionary& TheDictionary() {
    static const Dictionary dictionary;
    return dictionary;
}

void CheckRows(const ParsedWordList& list, WordListSeparator separator) {
    std::vector<WordEntry> entries;
    int lastLine = 0;
    std::set<int> skippedLines;
    for (const WordListSkip& skip : list.skipped) {
        skippedLines.insert(skip.line);
    }
    for (const WordListRow& row : list.rows) {
        Check(!row.entry.word.empty() && row.entry.word.size() <= 12 && !row.entry.yomi.empty() &&
              row.entry.yomi.size() <= 20 && row.line > lastLine);
        Check(skippedLines.count(row.line) == 0);
        lastLine = row.line;
        entries.push_back(row.entry);
    }
    for (auto encoding : {WordListEncoding::Utf8, WordListEncoding::ShiftJis}) {
        // The encoding is given: a few Shift-JIS bytes may also be valid UTF-8.
        const auto back =
            ParseWordList(WriteWordList(entries, separator, encoding), separator, encoding);
        Check(back.rows.size() == entries.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            Check(back.rows[i].entry == entries[i]);
        }
    }
}

void CheckImport(const ParsedWordList& list, DuplicateChoice choice) {
    const Dictionary& dictionary = TheDictionary();
    const ImportOutcome outcome = PlanImport(dictionary.image.data(), list.rows, choice);
    Check(outcome.added + outcome.unchanged + static_cast<int>(outcome.duplicates.size()) +
              outcome.leftOut ==
          static_cast<int>(list.rows.size()));
    Check(outcome.replaced ==
          (choice == DuplicateChoice::Replace ? static_cast<int>(outcome.duplicates.size()) : 0));
    Check(static_cast<int>(outcome.changes.size()) == outcome.added + outcome.replaced);
    for (const RecordChange& change : outcome.changes) {
        Check(change.record >= 0 && change.record < kUserRows);
    }
    // Keeping the dictionary's readings never touches a record that holds a word.
    if (choice == DuplicateChoice::Keep) {
        for (const RecordChange& change : outcome.changes) {
            Check(dictionary.used.count(change.record) == 0);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::uint8_t choices = data[0];
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const auto separator = (choices & 1) != 0 ? WordListSeparator::Tab : WordListSeparator::Comma;
    ParsedWordList list;
    switch ((choices >> 1) & 3) {
    case 1:
        list = ParseWordList(bytes, separator, WordListEncoding::Utf8);
        break;
    case 2:
        list = ParseWordList(bytes, separator, WordListEncoding::ShiftJis);
        break;
    default:
        list = ParseWordList(bytes, separator);
        break;
    }
    CheckRows(list, separator);
    if (!list.rows.empty()) {
        CheckImport(list, (choices & 8) != 0 ? DuplicateChoice::Replace : DuplicateChoice::Keep);
    }
    return 0;
}
