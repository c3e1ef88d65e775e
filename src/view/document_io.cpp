#include "view/document_io.h"

#include "settings/atomic_file.h"
#include "speech/reading_conversion.h"
#include "text/speech_text.h"

#include <QFile>
#include <QSet>

#include <string>

namespace yomi6 {

namespace {

std::u16string_view View(const QString& s) {
    return {reinterpret_cast<const char16_t*>(s.utf16()), static_cast<std::size_t>(s.size())};
}

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace

QString EncodingName(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Cp932:
        return QStringLiteral("Shift-JIS");
    case TextEncoding::Utf8:
        return QStringLiteral("UTF-8");
    case TextEncoding::Utf8WithBom:
        return QStringLiteral("UTF-8 (BOM)");
    }
    return {};
}

LoadedDocument LoadDocumentFile(const QString& path) {
    LoadedDocument result;
    std::string bytes;
    switch (ReadWholeFile(LocalPath(path), kMaxDocumentBytes, bytes)) {
    case ReadStatus::Read:
        break;
    case ReadStatus::TooLarge:
        result.status = LoadedDocument::Status::TooLarge;
        return result;
    case ReadStatus::Missing:
        result.status = LoadedDocument::Status::Error;
        result.error = QString::fromUtf8("%1\nﾌｧｲﾙが見つかりません。").arg(path);
        return result;
    case ReadStatus::Unreadable:
        result.status = LoadedDocument::Status::Error;
        result.error = QString::fromUtf8("%1\nﾌｧｲﾙを読み込めません。").arg(path);
        return result;
    }
    const DecodedDocument decoded = DecodeDocument(bytes);
    result.text = QString::fromStdU16String(decoded.text);
    result.format = decoded.format;
    return result;
}

SaveCheck CheckEncodable(const QString& text, const DocumentFormat& format) {
    SaveCheck check;
    const EncodeResult r = EncodeDocument(View(text), format, OnUnencodable::Fail);
    check.encodable = r.ok();
    QSet<char32_t> seen;
    for (const Unencodable& u : r.unencodable) {
        if (!seen.contains(u.codePoint)) {
            seen.insert(u.codePoint);
            check.unencodable += QString::fromUcs4(&u.codePoint, 1);
        }
    }
    return check;
}

QString SaveDocumentFile(const QString& path, const QString& text, const DocumentFormat& format) {
    const EncodeResult r = EncodeDocument(View(text), format, OnUnencodable::Fail);
    if (!r.ok()) {
        return QString::fromUtf8("保存できない文字があります。");
    }
    std::string error;
    if (!WriteFileAtomically(LocalPath(path), r.bytes, error, MissingDirectories::Fail)) {
        return QString::fromStdString(error);
    }
    return {};
}

QByteArray SpeechBytesOf(const QString& text) {
    const std::string bytes = SpeechBytes(View(text), kMaxTextBytes);
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

SpeechSource SpeechSourceOfText(const QString& text) {
    return SpeechSourceOf(View(text), kMaxTextBytes);
}

} // namespace yomi6
