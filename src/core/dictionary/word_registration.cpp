#include "dictionary/word_registration.h"

#include "dictionary/dic_file_save.h"
#include "dictionary/dic_merge.h"
#include "dictionary/dic_messages.h"
#include "dictionary/dictionary.h"
#include "dictionary/record_cleaning.h"
#include "io/atomic_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace yomi6 {

namespace {

unsigned char* RecordAt(unsigned char* image, int record) {
    return image + kRecordSize * static_cast<std::size_t>(record);
}

const unsigned char* RecordAt(const unsigned char* image, int record) {
    return image + kRecordSize * static_cast<std::size_t>(record);
}

// The zero-terminated text at field, read at most maxBytes far.
std::string FieldText(const unsigned char* field, std::size_t maxBytes) {
    const char* text = reinterpret_cast<const char*>(field);
    return std::string(text, ::strnlen(text, maxBytes));
}

// Copies text and its terminator to the start of field; the caller has checked the length.
void PutFieldText(unsigned char* field, const std::string& text) {
    std::memcpy(field, text.c_str(), text.size() + 1);
}

std::string RowNumber(int number) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%4d", number);
    return buffer;
}

int ClampTop(int top) {
    return std::clamp(top, 0, kMaxTopRecord);
}

} // namespace

int ScrolledTopRecord(ScrollCode code, int position, int thumbPosition) {
    switch (code) {
    case ScrollCode::LineUp:
        return ClampTop(position - 1);
    case ScrollCode::LineDown:
        return ClampTop(position + 1);
    case ScrollCode::PageUp:
        return ClampTop(position - kScrollPageRows);
    case ScrollCode::PageDown:
        return ClampTop(position + kScrollPageRows);
    case ScrollCode::ThumbPosition:
        // Set on the scroll bar and read back: the bar keeps it within its range.
        return ClampTop(thumbPosition);
    case ScrollCode::ThumbTrack:
    case ScrollCode::Top:
    case ScrollCode::Bottom:
    case ScrollCode::EndScroll:
        break;
    }
    return position;
}

std::optional<OverlongField> FindOverlongField(const RegistrationRows& rows) {
    for (int r = 0; r < kRegistrationRows; ++r) {
        if (rows[static_cast<std::size_t>(r)].word.size() > kWordFieldMaxBytes) {
            return OverlongField{OverlongField::Kind::Word, r, kWordFieldMaxBytes};
        }
    }
    for (int r = 0; r < kRegistrationRows; ++r) {
        if (rows[static_cast<std::size_t>(r)].yomi.size() > kYomiFieldMaxBytes) {
            return OverlongField{OverlongField::Kind::Yomi, r, kYomiFieldMaxBytes};
        }
    }
    return std::nullopt;
}

WordRegistration::WordRegistration(const Dictionary& dictionary) : m_dictionary(dictionary) {
    std::memset(m_working, 0, sizeof m_working);
    std::memset(m_output, 0, sizeof m_output);
    std::memset(m_opened, 0, sizeof m_opened);
}

bool WordRegistration::Open(IMessageSink& sink) {
    const char* name = m_dictionary.FileName().c_str();
    if (m_file.OpenExisting(name) != 0 &&
        m_file.OpenOrCreate(name, m_output, kDicImageSize, 0, nullptr) != 0) {
        sink.ShowMessage(dic_messages::kCannotOpen, MessageBoxType::IconStop);
        return false;
    }
    if (m_file.ReadRecord(m_working, kDicImageSize, 0) != 0) {
        sink.ShowMessage(dic_messages::kCannotRead, MessageBoxType::Ok);
        m_file.CloseFile();
        return false;
    }
    std::memcpy(m_opened, m_working, sizeof m_opened);
    m_top = 0;
    return true;
}

RegistrationRows WordRegistration::FillRows(int top) const {
    top = ClampTop(top);
    RegistrationRows rows;
    for (int r = 0; r < kRegistrationRows; ++r) {
        const unsigned char* record = RecordAt(m_working, top + r);
        RegistrationRow& row = rows[static_cast<std::size_t>(r)];
        row.number = RowNumber(top + r + 1);
        row.word = FieldText(record, kWordFieldMaxBytes);
        row.yomi = FieldText(record + kWordSlotSize, kYomiFieldMaxBytes);
    }
    return rows;
}

std::optional<int> WordRegistration::FirstEmptyRecord() const {
    for (int r = 0; r < kUserRows; ++r) {
        const unsigned char* record = RecordAt(m_working, r);
        if (FieldText(record, kWordFieldMaxBytes).empty() &&
            FieldText(record + kWordSlotSize, kYomiFieldMaxBytes).empty()) {
            return r;
        }
    }
    return std::nullopt;
}

std::optional<OverlongField> WordRegistration::StoreRows(int top, const RegistrationRows& rows) {
    if (auto overlong = FindOverlongField(rows)) {
        return overlong;
    }
    top = ClampTop(top);
    for (int r = 0; r < kRegistrationRows; ++r) {
        unsigned char* record = RecordAt(m_working, top + r);
        const RegistrationRow& row = rows[static_cast<std::size_t>(r)];
        PutFieldText(record, row.word);
        PutFieldText(record + kWordSlotSize, row.yomi);
    }
    return std::nullopt;
}

int WordRegistration::Scroll(ScrollCode code, int thumbPosition) {
    m_top = ScrolledTopRecord(code, m_top, thumbPosition);
    return m_top;
}

std::optional<OverlongField> WordRegistration::Confirm(const RegistrationRows& rows,
                                                       IMessageSink& sink) {
    // Checked before anything is stored, so that a refused confirm leaves no trace.
    if (auto overlong = StoreRows(m_top, rows)) {
        return overlong;
    }
    MergeSavedMeanwhile();
    CleanDictionaryImage(m_working, m_output);
    std::string error;
    if (!SaveDictionaryImage(m_dictionary.FileName(), m_output, error)) {
        sink.ShowMessage(dic_messages::kCannotWrite, MessageBoxType::IconStop);
    }
    m_file.CloseFile();
    return std::nullopt;
}

void WordRegistration::MergeSavedMeanwhile() {
    std::string disk;
    if (ReadWholeFile(m_dictionary.FileName(), kMaxSavedDictionaryFileBytes, disk) !=
            ReadStatus::Read ||
        disk.size() < kDicImageSize || std::memcmp(disk.data(), m_opened, kDicImageSize) == 0) {
        return;
    }
    const DictionaryMerge merge = MergeDictionaryImages(
        m_opened, m_working, reinterpret_cast<const unsigned char*>(disk.data()));
    std::memcpy(m_working, merge.image.data(), kDicImageSize);
}

void WordRegistration::Cancel() {
    m_file.CloseFile();
}

} // namespace yomi6
