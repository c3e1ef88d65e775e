#include "dictionary/dic_records.h"

#include <algorithm>
#include <cstring>

namespace yomi6 {

namespace {

std::string FieldText(const unsigned char* field, std::size_t maxBytes) {
    const char* text = reinterpret_cast<const char*>(field);
    return std::string(text, ::strnlen(text, maxBytes));
}

} // namespace

RecordBytes RecordOf(const unsigned char* image, int record) {
    RecordBytes bytes;
    std::memcpy(bytes.data(), image + kRecordSize * static_cast<std::size_t>(record), kRecordSize);
    return bytes;
}

void PutRecord(unsigned char* image, int record, const RecordBytes& bytes) {
    std::memcpy(image + kRecordSize * static_cast<std::size_t>(record), bytes.data(), kRecordSize);
}

WordEntry EntryOf(const RecordBytes& record) {
    return {FieldText(record.data(), kWordSlotSize - 1),
            FieldText(record.data() + kWordSlotSize, kYomiSlotSize - 1)};
}

RecordBytes RecordOfEntry(const WordEntry& entry) {
    RecordBytes bytes{};
    std::memcpy(bytes.data(), entry.word.data(), std::min(entry.word.size(), kWordSlotSize - 1));
    std::memcpy(bytes.data() + kWordSlotSize, entry.yomi.data(),
                std::min(entry.yomi.size(), kYomiSlotSize - 1));
    return bytes;
}

bool IsFreeEntry(const WordEntry& entry) {
    return entry.word.empty() || entry.yomi.empty();
}

WordEntry MeaningOf(const RecordBytes& record) {
    WordEntry entry = EntryOf(record);
    return IsFreeEntry(entry) ? WordEntry{} : entry;
}

std::vector<WordEntry> UsedEntries(const unsigned char* image) {
    std::vector<WordEntry> entries;
    for (int n = 0; n < kUserRows; ++n) {
        WordEntry entry = EntryOf(RecordOf(image, n));
        if (!IsFreeEntry(entry)) {
            entries.push_back(std::move(entry));
        }
    }
    return entries;
}

} // namespace yomi6
