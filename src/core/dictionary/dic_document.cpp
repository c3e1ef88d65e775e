#include "dictionary/dic_document.h"

#include "dictionary/dic_file_save.h"
#include "dictionary/dic_messages.h"
#include "dictionary/record_cleaning.h"
#include "io/atomic_file.h"
#include "text/cp932.h"

#include <algorithm>
#include <cstring>

namespace yomi6 {

DictionaryDocument::DictionaryDocument()
    : m_working(kDicImageSize, '\0'), m_loaded(kDicImageSize, '\0') {}

bool DictionaryDocument::ReadFile(IMessageSink& sink, std::string& image,
                                  DicFileStamp& stamp) const {
    std::string bytes;
    switch (ReadWholeFile(m_path, kMaxSavedDictionaryFileBytes, bytes)) {
    case ReadStatus::Missing:
        image.assign(kDicImageSize, '\0');
        stamp = StampOf(m_path, {}, false);
        return true;
    case ReadStatus::Unreadable:
    case ReadStatus::TooLarge:
        sink.ShowMessage(dic_messages::kCannotOpen, MessageBoxType::IconStop);
        return false;
    case ReadStatus::Read:
        break;
    }
    if (bytes.size() < kDicImageSize) {
        sink.ShowMessage(dic_messages::kCannotRead, MessageBoxType::Ok);
        return false;
    }
    stamp = StampOf(m_path, bytes, true);
    image.assign(bytes, 0, kDicImageSize);
    return true;
}

bool DictionaryDocument::Load(const std::string& path, IMessageSink& sink) {
    const std::string oldPath = m_path;
    m_path = path;
    std::string image;
    DicFileStamp stamp;
    if (!ReadFile(sink, image, stamp)) {
        m_path = oldPath;
        return false;
    }
    m_working = image;
    m_loaded = std::move(image);
    m_stamp = stamp;
    return true;
}

void DictionaryDocument::SetRecord(int n, const RecordBytes& bytes) {
    PutRecord(reinterpret_cast<unsigned char*>(m_working.data()), n, bytes);
}

int DictionaryDocument::FirstFreeRecord(int from) const {
    for (int n = std::max(from, 0); n < kUserRows; ++n) {
        if (IsFreeEntry(Entry(n))) {
            return n;
        }
    }
    return -1;
}

bool DictionaryDocument::ChangedOnDisk() const {
    return DictionaryFileChanged(m_path, m_stamp);
}

bool DictionaryDocument::Save(IMessageSink& sink) {
    std::string cleaned(kDicImageSize, '\0');
    CleanDictionaryImage(Image(), reinterpret_cast<unsigned char*>(cleaned.data()));
    std::string error;
    if (!SaveDictionaryImage(m_path, Bytes(cleaned), error)) {
        sink.ShowMessage(dic_messages::kCannotWrite, MessageBoxType::IconStop);
        return false;
    }
    std::string bytes;
    const bool read =
        ReadWholeFile(m_path, kMaxSavedDictionaryFileBytes, bytes) == ReadStatus::Read;
    m_stamp = StampOf(m_path, bytes, read);
    m_working = cleaned;
    m_loaded = std::move(cleaned);
    return true;
}

std::optional<DictionaryMerge> DictionaryDocument::MergeWithDisk(IMessageSink& sink) {
    std::string disk;
    DicFileStamp stamp;
    if (!ReadFile(sink, disk, stamp)) {
        return std::nullopt;
    }
    DictionaryMerge merge = MergeDictionaryImages(LoadedImage(), Image(), Bytes(disk));
    m_working = merge.image;
    m_loaded = std::move(disk);
    m_stamp = stamp;
    return merge;
}

std::variant<RecordBytes, OverlongField>
EditedRecord(const RecordBytes& record, OverlongField::Kind field, const std::string& text) {
    const bool word = field == OverlongField::Kind::Word;
    const std::size_t limit = word ? kWordFieldMaxBytes : kYomiFieldMaxBytes;
    if (text.size() > limit) {
        return OverlongField{field, 0, limit};
    }
    RecordBytes stored = record;
    std::memcpy(stored.data() + (word ? 0 : kWordSlotSize), text.c_str(), text.size() + 1);
    RecordBytes cleaned{};
    CleanWordField(stored.data(), cleaned.data());
    CleanYomiField(stored.data() + kWordSlotSize, cleaned.data() + kWordSlotSize);
    return cleaned;
}

} // namespace yomi6

namespace yomi6 {

std::string SpeakableReading(std::string_view reading) {
    std::string out;
    for (std::size_t i = 0; i < reading.size() && out.size() < kYomiFieldMaxBytes; ++i) {
        const auto b = static_cast<unsigned char>(reading[i]);
        if (i + 1 < reading.size() &&
            cp932::IsLegalPair(b, static_cast<unsigned char>(reading[i + 1]))) {
            ++i;
            continue;
        }
        // Blanks, digits, letters and the signs among them are not spoken; control bytes
        // (line ends of the text) have no place in a reading.
        if (b <= 0x20 || (b >= 0x30 && b <= 0x7A) || b == 0x7F) {
            continue;
        }
        out += static_cast<char>(b);
    }
    return out;
}

} // namespace yomi6
