// Any bytes read as a word list, in every encoding and with either separator: every row that
// comes back fits a dictionary record and holds only what a reading may hold, every line is
// either a row or skipped (never both), and the rows written out read back the same.
#include "dictionary/dic_records.h"
#include "dictionary/word_list.h"
#include "dictionary/word_list_import.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Check(const yomi6::ParsedWordList& list, yomi6::WordListSeparator separator) {
    std::vector<yomi6::WordEntry> entries;
    int lastLine = 0;
    for (const yomi6::WordListRow& row : list.rows) {
        if (row.entry.word.empty() || row.entry.word.size() > 12 || row.entry.yomi.empty() ||
            row.entry.yomi.size() > 20 || row.line <= lastLine) {
            std::abort();
        }
        lastLine = row.line;
        for (const yomi6::WordListSkip& skip : list.skipped) {
            if (skip.line == row.line) {
                std::abort();
            }
        }
        entries.push_back(row.entry);
    }
    for (auto encoding : {yomi6::WordListEncoding::Utf8, yomi6::WordListEncoding::ShiftJis}) {
        // The encoding is given: a few Shift-JIS bytes may also be valid UTF-8.
        const auto back = yomi6::ParseWordList(yomi6::WriteWordList(entries, separator, encoding),
                                               separator, encoding);
        if (back.rows.size() != entries.size()) {
            std::abort();
        }
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (!(back.rows[i].entry == entries[i])) {
                std::abort();
            }
        }
    }
    const std::string empty(yomi6::kDicImageSize, '\0');
    const auto outcome = yomi6::PlanImport(reinterpret_cast<const unsigned char*>(empty.data()),
                                           list.rows, yomi6::DuplicateChoice::Replace);
    if (outcome.added + outcome.unchanged + static_cast<int>(outcome.duplicates.size()) !=
        static_cast<int>(list.rows.size())) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (auto separator : {yomi6::WordListSeparator::Comma, yomi6::WordListSeparator::Tab}) {
        Check(yomi6::ParseWordList(bytes, separator), separator);
        Check(yomi6::ParseWordList(bytes, separator, yomi6::WordListEncoding::ShiftJis), separator);
    }
    return 0;
}
