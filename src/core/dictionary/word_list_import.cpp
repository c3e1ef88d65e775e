#include "dictionary/word_list_import.h"

#include <unordered_map>

namespace yomi6 {

ImportOutcome PlanImport(const unsigned char* image, const std::vector<WordListRow>& rows,
                         DuplicateChoice choice) {
    ImportOutcome outcome;
    // The dictionary as it will be once the changes so far are made.
    std::vector<WordEntry> entries(kUserRows);
    std::unordered_map<std::string, int> recordOfWord; // the first record of each word
    for (int n = 0; n < kUserRows; ++n) {
        entries[static_cast<std::size_t>(n)] = MeaningOf(RecordOf(image, n));
        const WordEntry& e = entries[static_cast<std::size_t>(n)];
        if (!IsFreeEntry(e)) {
            recordOfWord.emplace(e.word, n);
        }
    }
    int nextFree = 0;
    auto findFree = [&] {
        while (nextFree < kUserRows && !IsFreeEntry(entries[static_cast<std::size_t>(nextFree)])) {
            ++nextFree;
        }
        return nextFree < kUserRows ? nextFree : -1;
    };

    for (const WordListRow& row : rows) {
        if (auto it = recordOfWord.find(row.entry.word); it != recordOfWord.end()) {
            WordEntry& there = entries[static_cast<std::size_t>(it->second)];
            if (there.yomi == row.entry.yomi) {
                ++outcome.unchanged;
                continue;
            }
            outcome.duplicates.push_back(
                {row.line, it->second, row.entry.word, there.yomi, row.entry.yomi});
            if (choice == DuplicateChoice::Replace) {
                there.yomi = row.entry.yomi;
                outcome.changes.push_back({it->second, RecordOfEntry(there)});
                ++outcome.replaced;
            }
            continue;
        }
        const int record = findFree();
        if (record < 0) {
            ++outcome.leftOut;
            continue;
        }
        entries[static_cast<std::size_t>(record)] = row.entry;
        recordOfWord.emplace(row.entry.word, record);
        outcome.changes.push_back({record, RecordOfEntry(row.entry)});
        ++outcome.added;
    }
    return outcome;
}

} // namespace yomi6
