// The dictionary file as one window edits it: every record at once, the image as it was
// loaded (to merge with what others saved meanwhile), and saving through the same cleaning and
// crash-safe save as the word registration dialog.
#pragma once

#include "dictionary/dic_file_stamp.h"
#include "dictionary/dic_merge.h"
#include "dictionary/dic_records.h"
#include "dictionary/word_registration.h"
#include "io/message_sink.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace yomi6 {

class DictionaryDocument {
public:
    DictionaryDocument();

    // Reads the file at path whole. A missing file is an empty dictionary (created by the
    // first save). A file that cannot be read, or is shorter than the records, is reported
    // through sink with the dictionary's messages and false comes back; nothing changes then.
    bool Load(const std::string& path, IMessageSink& sink);

    const std::string& Path() const { return m_path; }
    const unsigned char* Image() const { return Bytes(m_working); }
    const unsigned char* LoadedImage() const { return Bytes(m_loaded); }

    RecordBytes Record(int n) const { return RecordOf(Image(), n); }
    WordEntry Entry(int n) const { return EntryOf(Record(n)); }
    void SetRecord(int n, const RecordBytes& bytes);

    // The first free record from from on, or -1 when every record holds a row.
    int FirstFreeRecord(int from = 0) const;

    // True when someone has saved the file since it was loaded or saved here.
    bool ChangedOnDisk() const;

    // Cleans every record as the dialog does on confirm and saves the image through the
    // crash-safe save (keeping the file's bytes past the records). The cleaned image becomes
    // the loaded one. False (sink told, nothing changed) when the save failed.
    bool Save(IMessageSink& sink);

    // Merges the rows saved on disk since the load into this image (see MergeDictionaryImages);
    // the disk's image becomes the loaded one. None when the file cannot be read now (sink told).
    std::optional<DictionaryMerge> MergeWithDisk(IMessageSink& sink);

private:
    static const unsigned char* Bytes(const std::string& s) {
        return reinterpret_cast<const unsigned char*>(s.data());
    }
    // The file's records and stamp, or false after a message.
    bool ReadFile(IMessageSink& sink, std::string& image, DicFileStamp& stamp) const;

    std::string m_path;
    std::string m_working; // kDicImageSize bytes, with the edits
    std::string m_loaded;  // the records as last loaded or saved
    DicFileStamp m_stamp;
};

// The record after field (word or reading) of record was set to text (code page 932 bytes),
// as the dialog stores a row: the text and its terminator at the start of the field, then the
// record cleaned. The overlong field when text does not fit (nothing changes then).
std::variant<RecordBytes, OverlongField>
EditedRecord(const RecordBytes& record, OverlongField::Kind field, const std::string& text);

} // namespace yomi6

namespace yomi6 {

// What a reading can keep of a converted text, for a row's first reading: half-width katakana
// and the signs the cleaning keeps, without double-byte characters, letters, digits, blanks or
// control bytes, cut to 20 bytes.
std::string SpeakableReading(std::string_view reading);

} // namespace yomi6
