// The word registration model: the dictionary file read into a working image, shown and edited
// five records at a time, cleaned into an output image and saved whole on confirm.
#pragma once

#include "dictionary/dic_file.h"
#include "dictionary/dic_tables.h"
#include "io/message_sink.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>

namespace yomi6 {

inline constexpr int kRegistrationRows = 5;
inline constexpr int kMaxTopRecord = kUserRows - kRegistrationRows; // 9994: rows 9995-9999
inline constexpr int kScrollPageRows = 5;
inline constexpr std::size_t kWordFieldMaxBytes = kWordSlotSize - 1; // 12
inline constexpr std::size_t kYomiFieldMaxBytes = kYomiSlotSize - 1; // 20

// What a scroll message of the rows' scroll bar asks for.
enum class ScrollCode {
    LineUp,
    LineDown,
    PageUp,
    PageDown,
    ThumbPosition, // the thumb was released at a position
    ThumbTrack,    // the thumb is being dragged
    Top,
    Bottom,
    EndScroll,
};

// The top record after a scroll message: one or five records up or down from position (the
// current one), kept within 0 to kMaxTopRecord; the thumb's position when it is released;
// unchanged for every other code, so nothing moves while the thumb is dragged.
int ScrolledTopRecord(ScrollCode code, int position, int thumbPosition);

// One row of the dialog; word and reading are code page 932 bytes.
struct RegistrationRow {
    std::string number; // the row number, right-aligned in four characters
    std::string word;
    std::string yomi;
};
using RegistrationRows = std::array<RegistrationRow, kRegistrationRows>;

// A field of the rows that holds more bytes than its record can take.
struct OverlongField {
    enum class Kind { Word, Yomi };
    Kind kind;
    int row;           // 0 to 4
    std::size_t limit; // kWordFieldMaxBytes or kYomiFieldMaxBytes
};

// The first overlong field in the order the dialog exchanges its fields: the five words, then
// the five readings. None when every field fits.
std::optional<OverlongField> FindOverlongField(const RegistrationRows& rows);

// The registration dialog's state, kept by whoever runs the registrations (the editor's
// application context) from one opening of the dialog to the next.
class Dictionary;

class WordRegistration {
public:
    // Registers the words of dictionary's file.
    explicit WordRegistration(const Dictionary& dictionary);
    WordRegistration(const WordRegistration&) = delete;
    WordRegistration& operator=(const WordRegistration&) = delete;

    // The dialog opens: opens the dictionary's file (creating it from the output image
    // when there is none), reads it into the working image and puts the top record at 0. The
    // file then stays open until Confirm or Cancel. On failure the message goes to sink, the
    // file is closed and false is returned.
    bool Open(IMessageSink& sink);
    bool IsOpen() const { return m_file.IsOpen(); }

    int TopRecord() const { return m_top; }

    // The five rows from record top on, as the working image holds them (a word is read up to
    // its terminator and at most 12 bytes, a reading at most 20).
    RegistrationRows FillRows(int top) const;

    // The first record whose word and reading are both empty, if any.
    std::optional<int> FirstEmptyRecord() const;

    // Takes the five rows back into records top to top + 4: each text and its terminator go to
    // the start of its field, the bytes behind are left as they were. When a field is too long
    // nothing at all is stored and that field is returned.
    std::optional<OverlongField> StoreRows(int top, const RegistrationRows& rows);

    // Moves the top record as the scroll bar asks (see ScrolledTopRecord) and returns it. The
    // caller stores the shown rows first.
    int Scroll(ScrollCode code, int thumbPosition);

    // The confirm button: when every field of rows fits, stores them at the top record, cleans
    // the whole working image into the output image, saves that to the dictionary's file (saying so
    // through sink when it cannot) and closes the file. When a field is too long nothing is stored
    // or written, the file stays open and that field is returned. Rows that another window or
    // program saved to the file after it was read here are merged in (see MergeDictionaryImages),
    // not overwritten.
    std::optional<OverlongField> Confirm(const RegistrationRows& rows, IMessageSink& sink);

    // The cancel button: closes the file. Edits stay in the working image; nothing is written.
    void Cancel();

    const unsigned char* WorkingImage() const { return m_working; }
    const unsigned char* OutputImage() const { return m_output; }

private:
    // Brings into the working image the rows saved to the file since Open read it.
    void MergeSavedMeanwhile();

    const Dictionary& m_dictionary;
    DictionaryFile m_file;
    unsigned char m_working[kDicImageSize];
    unsigned char m_output[kDicImageSize]; // the last saved image; zero until the first save
    unsigned char m_opened[kDicImageSize]; // the file's records as Open read them
    int m_top = 0;
};

} // namespace yomi6
