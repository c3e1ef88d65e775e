#include "dictionary/dictionary.h"

#include "dictionary/dic_messages.h"

#include <cerrno>
#include <cstring>
#include <vector>

namespace yomi6 {

namespace {

constexpr int kMaxWordBytes = static_cast<int>(kWordSlotSize) - 1;

} // namespace

Dictionary::Dictionary(std::string fileName)
    : m_tables(MakeDicTables()), m_index(*m_tables), m_fileName(std::move(fileName)),
      m_image(MakeZeroedBytes(kDicImageSize)) {}

Dictionary::~Dictionary() = default;

DictionaryView Dictionary::View(DicLookup lookup) const {
    return DictionaryView(*m_tables, m_index, lookup);
}

void Dictionary::RebuildUserRows(const unsigned char* image) {
    DicTables& tables = *m_tables;
    for (int slot = kBuiltinRows; slot < kDicSlots; ++slot) {
        tables.yomi[slot][0] = '\0';
    }
    // Word length of each record as the rebuild sees it: 1-12, or 0 when the record is not
    // taken (empty word, empty reading, or a word with no terminator in its 13 bytes).
    std::vector<unsigned char> recordWordLength(kUserRows);
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
        recordWordLength[static_cast<std::size_t>(n)] =
            taken ? static_cast<unsigned char>(wordLength) : 0;
        ++perLength[recordWordLength[static_cast<std::size_t>(n)]];
    }
    int nextSlot[kMaxWordBytes + 1] = {};
    int slot = kBuiltinRows;
    for (int length = kMaxWordBytes; length >= 1; --length) {
        nextSlot[length] = slot;
        slot += perLength[length];
    }
    for (int n = 0; n < kUserRows; ++n) {
        const int length = recordWordLength[static_cast<std::size_t>(n)];
        if (length == 0) {
            continue;
        }
        const unsigned char* record = image + kRecordSize * static_cast<std::size_t>(n);
        const int to = nextSlot[length]++;
        std::memcpy(tables.word[to], record, kWordSlotSize - 1);
        tables.word[to][kWordSlotSize - 1] = '\0';
        std::memcpy(tables.yomi[to], record + kWordSlotSize, kYomiSlotSize - 1);
        tables.yomi[to][kYomiSlotSize - 1] = '\0';
    }
    m_index.MarkChanged();
}

void Dictionary::Load(IMessageSink& sink) {
    DictionaryFile& file = m_file;
    if (file.OpenExisting(m_fileName.c_str()) != 0) {
        bool created = false;
        if (file.OpenOrCreate(m_fileName.c_str(), m_image.get(), kDicImageSize, 0, &created) != 0) {
            sink.ShowMessage(dic_messages::kCannotOpen, MessageBoxType::IconStop);
            return;
        }
        if (created && file.WriteRecord(m_image.get(), kDicImageSize, 0) != 0) {
            sink.ShowMessage(dic_messages::kCannotWrite, MessageBoxType::IconStop);
        }
    }
    if (!m_fullPathTaken) {
        // Without a full path the name stays as it is and the next load tries again.
        std::string full = file.FullPath();
        if (!full.empty()) {
            m_fileName = std::move(full);
            m_fullPathTaken = true;
        }
    }
    if (file.ReadRecord(m_image.get(), kDicImageSize, 0) != 0) {
        sink.ShowMessage(dic_messages::kCannotRead, MessageBoxType::Ok);
    }
    RebuildUserRows(m_image.get());
    file.CloseFile();
}

ReadOnlyLoadResult Dictionary::LoadReadOnly(const std::string& path, IMessageSink& sink) {
    DictionaryFile& file = m_file;
    if (file.OpenReadOnly(path.c_str()) != 0) {
        return errno == ENOENT ? ReadOnlyLoadResult::NotFound : ReadOnlyLoadResult::CannotOpen;
    }
    if (file.ReadRecord(m_image.get(), kDicImageSize, 0) != 0) {
        sink.ShowMessage(dic_messages::kCannotRead, MessageBoxType::Ok);
    }
    RebuildUserRows(m_image.get());
    file.CloseFile();
    return ReadOnlyLoadResult::Loaded;
}

} // namespace yomi6
