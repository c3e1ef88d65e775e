// Record-level access to a dictionary image: what a record holds as text, free records, and
// the comparison the merges use.
#pragma once

#include "dictionary/dic_tables.h"
#include "dictionary/word_list.h"

#include <array>
#include <string>
#include <vector>

namespace yomi6 {

using RecordBytes = std::array<unsigned char, kRecordSize>;

// One record of image (kDicImageSize bytes).
RecordBytes RecordOf(const unsigned char* image, int record);
void PutRecord(unsigned char* image, int record, const RecordBytes& bytes);

// The word (up to its terminator, at most 12 bytes) and the reading (at most 20) of a record.
WordEntry EntryOf(const RecordBytes& record);
// A record holding entry: each text and its terminator, zeros behind.
RecordBytes RecordOfEntry(const WordEntry& entry);

// A record the loader skips: its word or its reading is empty.
bool IsFreeEntry(const WordEntry& entry);

// What the loader would take from the record: the entry, or an empty one for a free record.
// Two records with the same meaning compare equal whatever remnants they hold.
WordEntry MeaningOf(const RecordBytes& record);

// The entries of every record that is not free, in record order.
std::vector<WordEntry> UsedEntries(const unsigned char* image);

} // namespace yomi6
