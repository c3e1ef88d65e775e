// Reading and writing document files: bytes on disk to the editor's text and back, through the
// lossless code page 932 codec (or UTF-8 for files that are UTF-8), keeping the line ends.
#pragma once

#include "text/speech_text.h"

#include "text/document_encoding.h"

#include <QByteArray>
#include <QString>

namespace yomi6 {

// The status bar's name of an encoding: "Shift-JIS", "UTF-8" or "UTF-8 (BOM)".
QString EncodingName(TextEncoding encoding);

struct LoadedDocument {
    enum class Status { Ok, TooLarge, Error } status = Status::Ok;
    QString text;
    DocumentFormat format;
    QString error; // for Error: what went wrong, for the user
};

LoadedDocument LoadDocumentFile(const QString& path);

struct SaveCheck {
    bool encodable = true;
    QString unencodable; // the characters the encoding cannot hold, each once, in text order
};

// Whether text can be written in format without losing a character.
SaveCheck CheckEncodable(const QString& text, const DocumentFormat& format);

// Writes text in format atomically (a temporary file renamed over the target). Characters that
// format cannot hold make it fail: CheckEncodable first. Returns an empty string on success,
// else what went wrong, in Japanese for the editor's message box.
QString SaveDocumentFile(const QString& path, const QString& text, const DocumentFormat& format);

// The first 4000 bytes of the text as the speak command reads them: code page 932, CR LF line
// ends, characters that code page 932 cannot hold as blanks.
QByteArray SpeechBytesOf(const QString& text);
// The same bytes with the place in the text each came from.
SpeechSource SpeechSourceOfText(const QString& text);

} // namespace yomi6
