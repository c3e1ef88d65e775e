#include "cli/qt/mode_pdf.h"

#include "cli/cli_common.h"
#include "cli/cli_main.h"
#include "io/app_strings.h"
#include "io/atomic_file.h"
#include "io/profile_file.h"
#include "io/temporary_registry.h"
#include "platform/font_description_qt.h"
#include "printing/page_printer.h"
#include "printing/printer_font.h"
#include "settings/settings.h"
#include "settings/settings_path.h"
#include "text/document_encoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPrinter>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <string>
#include <unistd.h>

namespace yomi6 {

namespace {

// Without a display the mode runs on the offscreen platform, which needs none.
void UseOffscreenWithoutDisplay() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

// Qt's notes about the environment (a missing runtime directory and the like) are not this
// mode's output: only its own errors go to standard error.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        cli::PrintError("qt", message.toStdString());
    }
}

std::optional<QFont> FontOf(const FontDescription& record) {
    if (record.height == 0) {
        return std::nullopt;
    }
    return FontFromRecord(record);
}

// The document's title as the editor gives it: the file's name, or the first untitled name
// for standard input.
QString TitleOf(const std::string& input) {
    if (input == "-") {
        return QString::fromUtf8(strings::kUntitledBase) + QLatin1Char('1');
    }
    return QFileInfo(QFile::decodeName(QByteArray::fromStdString(input))).fileName();
}

// Why writes into the file at path fail: the error of a write that goes on until it fails,
// or an empty text when a megabyte more still fits.
std::string WriteFailureCause(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0) {
        return std::strerror(errno);
    }
    static const char zeros[65536] = {};
    int err = 0;
    for (int i = 0; i < 16 && err == 0; ++i) {
        const ssize_t n = ::write(fd, zeros, sizeof zeros);
        if (n < 0 && errno != EINTR) {
            err = errno;
        }
    }
    ::close(fd);
    return err == 0 ? std::string() : std::strerror(err);
}

// Where the PDF is printed before it reaches output: beside the file it replaces, like every
// other file this program writes; in the folder for temporary files when the output is
// written into directly (standard output, a device, a FIFO).
std::string TemporaryFolderFor(const std::string& output) {
    if (output == "-" || WritesInPlace(output)) {
        const QString temp = QDir::tempPath();
        return QFile::encodeName(temp).toStdString();
    }
    return ReplacementDirectory(output);
}

// Prints content to a temporary PDF file and returns its bytes; false after printing the
// error.
bool RenderPdf(const std::string& where, const std::string& folder, const AppSettings& settings,
               PrintContent content, QByteArray& pdf) {
    std::string tempPath;
    const int fd = CreateTemporaryIn(folder, tempPath);
    if (fd < 0) {
        cli::PrintError(where, "cannot create a temporary file in " + folder + ": " +
                                   std::strerror(errno));
        return false;
    }
    ::close(fd);
    struct RemoveOnExit {
        const std::string& path;
        ~RemoveOnExit() {
            ::unlink(path.c_str());
            ForgetTemporary(path);
        }
    } remove{tempPath};

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QFile::decodeName(QByteArray::fromStdString(tempPath)));
    printer.setDocName(content.title);
    content.bodyFont =
        BodyFontFor(FontOf(settings.printerFont), FontOf(settings.screenFont), printer);
    PagePrinter pages(printer, std::move(content));
    const bool printed = pages.Print(pages.AllPages());
    QFile written(QFile::decodeName(QByteArray::fromStdString(tempPath)));
    if (printed && !written.open(QIODevice::ReadOnly)) {
        cli::PrintError(where, "cannot read the PDF back: " + written.errorString().toStdString());
        return false;
    }
    if (printed) {
        pdf = written.readAll();
    }
    // The PDF writer does not report a failed write (a full disk, a size limit): a PDF that
    // stops before its end-of-file marker is one that was cut short.
    if (!printed || !pdf.right(32).contains("%%EOF")) {
        const std::string cause = WriteFailureCause(tempPath);
        cli::PrintError(where, "the PDF could not be written to a temporary file in " + folder +
                                   (cause.empty() ? std::string() : ": " + cause));
        return false;
    }
    return true;
}

} // namespace

int RunPdfMode(int argc, char** argv, const cli::Options& options) {
    std::string bytes;
    const std::string where = options.input == "-" ? "standard input" : options.input;
    if (!cli::ReadInput(options.input, kMaxDocumentBytes + 1, bytes)) {
        return cli::kExitIoError;
    }
    if (bytes.size() > kMaxDocumentBytes) {
        cli::PrintError(where, "larger than the editor opens (" +
                                   std::to_string(kMaxDocumentBytes) + " bytes)");
        return cli::kExitIoError;
    }
    TextEncoding encoding = TextEncoding::Cp932;
    if (!cli::ChooseInputEncoding(options, bytes, false, encoding)) {
        return cli::kExitIoError;
    }
    const DecodedDocument document = DecodeDocumentAs(bytes, encoding);

    // The settings file is read, never written.
    AppSettings settings;
    SpeechChoices speech;
    LoadSettings(ProfileFile::Open(SettingsPath()), settings, speech);

    UseOffscreenWithoutDisplay();
    qInstallMessageHandler(QuietQtMessages);
    QGuiApplication app(argc, argv);

    PrintContent content;
    content.title = TitleOf(options.input);
    content.text = QString::fromStdU16String(document.text);
    content.switches =
        PageSwitches{settings.printFileName, settings.printDate, settings.printPageNumber};
    content.time = JobTimeNow();
    QByteArray pdf;
    const std::string output = options.pdfOutput == "-" ? "standard output" : options.pdfOutput;
    if (!RenderPdf(output, TemporaryFolderFor(options.pdfOutput), settings, std::move(content),
                   pdf)) {
        return cli::kExitIoError;
    }
    const auto size = static_cast<std::size_t>(pdf.size());
    if (options.pdfOutput == "-") {
        return cli::WriteStdout(pdf.constData(), size) ? cli::kExitOk : cli::kExitIoError;
    }
    std::string error;
    if (!WriteFileAtomically(options.pdfOutput, std::string_view(pdf.constData(), size), error,
                             MissingDirectories::Fail)) {
        cli::PrintError(options.pdfOutput, error);
        return cli::kExitIoError;
    }
    return cli::kExitOk;
}

} // namespace yomi6
