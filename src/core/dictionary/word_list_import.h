// Bringing the rows of a word list into a dictionary image: new words go to free records in
// record order, words the dictionary already has are duplicates the user decides about, and
// what does not fit in the 9999 records is counted.
#pragma once

#include "dictionary/dic_records.h"
#include "dictionary/word_list.h"

#include <vector>

namespace yomi6 {

// What happens to a word the dictionary (or an earlier line of the list) already has with
// another reading: the reading there stays, or the list's reading replaces it.
enum class DuplicateChoice { Keep, Replace };

struct ImportDuplicate {
    int line = 0;   // the list's line
    int record = 0; // the record that holds the word
    std::string word;
    std::string oldYomi;
    std::string newYomi;
};

struct RecordChange {
    int record = 0;
    RecordBytes after{};
};

struct ImportOutcome {
    std::vector<RecordChange> changes; // in the order they are to be made
    std::vector<ImportDuplicate> duplicates;
    int added = 0;
    int replaced = 0;
    int unchanged = 0; // the word is there already with the same reading
    int leftOut = 0;   // new words for which no free record was left
};

// The changes that bring rows into image (kDicImageSize bytes), which is not modified.
ImportOutcome PlanImport(const unsigned char* image, const std::vector<WordListRow>& rows,
                         DuplicateChoice choice);

} // namespace yomi6
