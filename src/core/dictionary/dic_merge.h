// Merging two versions of the dictionary that were both changed from the same loaded image:
// the rows this window changed and the rows another window (or program) saved meanwhile.
#pragma once

#include "dictionary/dic_records.h"

#include <string>
#include <vector>

namespace yomi6 {

struct DictionaryMerge {
    std::string image;              // kDicImageSize bytes
    int takenFromDisk = 0;          // records only the other side changed
    std::vector<int> movedToRecord; // the other side's rows of conflicting records, placed here
    int lost = 0;                   // of those, the rows no free record was left for
};

// Merges record by record, comparing what the records mean (remnants aside):
// - changed on one side only: that side's record;
// - changed on both sides to the same meaning: that record;
// - changed on both sides differently: a row emptied on one side gives way to the other
//   side's row; when both hold a row, mine stays in its record and the disk's row goes to the
//   first record that is free in the result (unless the result holds that row already).
// base, mine and disk are kDicImageSize bytes each.
DictionaryMerge MergeDictionaryImages(const unsigned char* base, const unsigned char* mine,
                                      const unsigned char* disk);

} // namespace yomi6
