#include "editor/document_io.h"

#include "io/atomic_file.h"
#include "reading/reading_conversion.h"
#include "text/speech_text.h"

#include <QFile>
#include <QSet>

#include <cerrno>
#include <string>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace yomi6 {

namespace {

std::u16string_view View(const QString& s) {
    return {reinterpret_cast<const char16_t*>(s.utf16()), static_cast<std::size_t>(s.size())};
}

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// What the editor's box says kept a file from being saved. The writer's own account is the
// system's English, fit for the command line; the box says in Japanese what stands in the way,
// found by looking at the target and its folder after the failure.
constexpr const char* kNoFolder = "保存先のﾌｫﾙﾀﾞがありません。";
constexpr const char* kFolderInTheWay = "同じ名前のﾌｫﾙﾀﾞがあります。";
constexpr const char* kReadOnlyPlace = "読み取り専用の場所には保存できません。";
constexpr const char* kNotPermitted = "書き込みが許可されていません。";
constexpr const char* kDiskFull = "ﾃﾞｨｽｸの空き容量が足りません。";
constexpr const char* kCannotWrite = "ﾌｧｲﾙに書き込めません。";

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

const char* SaveFailureReason(const std::string& path, std::size_t bytes) {
    const std::string folder = FolderOf(path);
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        return kNoFolder;
    }
    const bool exists = ::stat(path.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) {
        return kFolderInTheWay;
    }
    struct statvfs fs {};
    const bool knowsSpace = ::statvfs(folder.c_str(), &fs) == 0;
    if (knowsSpace && (fs.f_flag & ST_RDONLY) != 0) {
        return kReadOnlyPlace;
    }
    if (::access(folder.c_str(), W_OK) != 0 || (exists && ::access(path.c_str(), W_OK) != 0)) {
        return kNotPermitted;
    }
    if (knowsSpace && static_cast<unsigned long long>(fs.f_bavail) * fs.f_frsize <= bytes) {
        return kDiskFull;
    }
    return kCannotWrite;
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
    const std::string local = LocalPath(path);
    if (!WriteFileAtomically(local, r.bytes, error, MissingDirectories::Fail)) {
        return QString::fromUtf8(SaveFailureReason(local, r.bytes.size()));
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
