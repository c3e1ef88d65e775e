#include "dictionary/dic_loader.h"

#include "dictionary/dic_file.h"
#include "dictionary/dic_index.h"
#include "dictionary/dic_messages.h"
#include "dictionary/dic_tables.h"

#include <cerrno>
#include <cstring>

std::string g_szDicFileName = "Yomi6.dic";

namespace yomi6 {

namespace {

constexpr int kMaxWordBytes = static_cast<int>(kWordSlotSize) - 1;

DictionaryFile g_loaderFile;
unsigned char g_loaderImage[kDicImageSize];
bool g_fullPathTaken = false;

// Word length of each record as the rebuild sees it: 1-12, or 0 when the record is not taken
// (empty word, empty reading, or a word with no terminator in its 13 bytes).
unsigned char g_recordWordLength[kUserRows];

} // namespace

void RebuildUserRows(const unsigned char* image) {
    for (int slot = kBuiltinRows; slot < kDicSlots; ++slot) {
        g_dicYomi[slot][0] = '\0';
    }
    // Records per word length, then the first slot of each length (longest words first): one
    // pass places every record in file order within its length.
    int perLength[kMaxWordBytes + 1] = {};
    for (int n = 0; n < kUserRows; ++n) {
        const unsigned char* record = image + kRecordSize * static_cast<std::size_t>(n);
        const std::size_t wordLength =
            ::strnlen(reinterpret_cast<const char*>(record), kWordSlotSize);
        const bool taken = wordLength >= 1 &&
                           wordLength <= static_cast<std::size_t>(kMaxWordBytes) &&
                           record[kWordSlotSize] != 0;
        g_recordWordLength[n] = taken ? static_cast<unsigned char>(wordLength) : 0;
        ++perLength[g_recordWordLength[n]];
    }
    int nextSlot[kMaxWordBytes + 1] = {};
    int slot = kBuiltinRows;
    for (int length = kMaxWordBytes; length >= 1; --length) {
        nextSlot[length] = slot;
        slot += perLength[length];
    }
    for (int n = 0; n < kUserRows; ++n) {
        const int length = g_recordWordLength[n];
        if (length == 0) {
            continue;
        }
        const unsigned char* record = image + kRecordSize * static_cast<std::size_t>(n);
        const int to = nextSlot[length]++;
        std::memcpy(g_dicWord[to], record, kWordSlotSize - 1);
        g_dicWord[to][kWordSlotSize - 1] = '\0';
        std::memcpy(g_dicYomi[to], record + kWordSlotSize, kYomiSlotSize - 1);
        g_dicYomi[to][kYomiSlotSize - 1] = '\0';
    }
    RebuildDicIndex();
}

void LoadDictionary(IMessageSink& sink) {
    DictionaryFile& file = g_loaderFile;
    if (file.OpenExisting(g_szDicFileName.c_str()) != 0) {
        bool created = false;
        if (file.OpenOrCreate(g_szDicFileName.c_str(), g_loaderImage, kDicImageSize, 0, &created) !=
            0) {
            sink.ShowMessage(dic_messages::kCannotOpen, MessageBoxType::IconStop);
            return;
        }
        if (created && file.WriteRecord(g_loaderImage, kDicImageSize, 0) != 0) {
            sink.ShowMessage(dic_messages::kCannotWrite, MessageBoxType::IconStop);
        }
    }
    if (!g_fullPathTaken) {
        // Without a full path the name stays as it is and the next load tries again.
        std::string full = file.FullPath();
        if (!full.empty()) {
            g_szDicFileName = std::move(full);
            g_fullPathTaken = true;
        }
    }
    if (file.ReadRecord(g_loaderImage, kDicImageSize, 0) != 0) {
        sink.ShowMessage(dic_messages::kCannotRead, MessageBoxType::Ok);
    }
    RebuildUserRows(g_loaderImage);
    file.CloseFile();
}

ReadOnlyLoadResult LoadDictionaryReadOnly(const std::string& path, IMessageSink& sink) {
    DictionaryFile& file = g_loaderFile;
    if (file.OpenReadOnly(path.c_str()) != 0) {
        return errno == ENOENT ? ReadOnlyLoadResult::NotFound : ReadOnlyLoadResult::CannotOpen;
    }
    if (file.ReadRecord(g_loaderImage, kDicImageSize, 0) != 0) {
        sink.ShowMessage(dic_messages::kCannotRead, MessageBoxType::Ok);
    }
    RebuildUserRows(g_loaderImage);
    file.CloseFile();
    return ReadOnlyLoadResult::Loaded;
}

void ResetDictionaryLoaderForTesting() {
    g_loaderFile.CloseFile();
    std::memset(g_loaderImage, 0, sizeof g_loaderImage);
    g_fullPathTaken = false;
    g_szDicFileName = "Yomi6.dic";
    ResetDicTables();
    RebuildDicIndex();
}

const unsigned char* DictionaryImage() {
    return g_loaderImage;
}

} // namespace yomi6
