#include "dictionary/dic_merge.h"

#include <algorithm>
#include <cstring>

namespace yomi6 {

DictionaryMerge MergeDictionaryImages(const unsigned char* base, const unsigned char* mine,
                                      const unsigned char* disk) {
    DictionaryMerge merge;
    merge.image.assign(reinterpret_cast<const char*>(mine), kDicImageSize);
    auto* out = reinterpret_cast<unsigned char*>(merge.image.data());
    std::vector<WordEntry> toPlace;
    for (int n = 0; n < kUserRows; ++n) {
        const RecordBytes b = RecordOf(base, n);
        const RecordBytes m = RecordOf(mine, n);
        const RecordBytes d = RecordOf(disk, n);
        const WordEntry baseEntry = MeaningOf(b);
        const WordEntry mineEntry = MeaningOf(m);
        const WordEntry diskEntry = MeaningOf(d);
        if (diskEntry == baseEntry || diskEntry == mineEntry) {
            continue; // mine stands
        }
        if (mineEntry == baseEntry || IsFreeEntry(mineEntry)) {
            PutRecord(out, n, d);
            ++merge.takenFromDisk;
            continue;
        }
        if (!IsFreeEntry(diskEntry)) {
            toPlace.push_back(diskEntry);
        }
        // The disk emptied a row I changed: my row stays.
    }
    std::vector<WordEntry> present = UsedEntries(out);
    int nextFree = 0;
    for (const WordEntry& entry : toPlace) {
        if (std::find(present.begin(), present.end(), entry) != present.end()) {
            continue;
        }
        while (nextFree < kUserRows && !IsFreeEntry(MeaningOf(RecordOf(out, nextFree)))) {
            ++nextFree;
        }
        if (nextFree == kUserRows) {
            ++merge.lost;
            continue;
        }
        PutRecord(out, nextFree, RecordOfEntry(entry));
        merge.movedToRecord.push_back(nextFree);
        present.push_back(entry);
    }
    return merge;
}

} // namespace yomi6
