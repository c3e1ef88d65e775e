#include "view/pdf_mode.h"

#include "app/app_strings.h"
#include "cli/cli_common.h"
#include "cli/cli_main.h"
#include "platform/logfont_qt.h"
#include "settings/atomic_file.h"
#include "settings/profile_file.h"
#include "settings/settings.h"
#include "settings/settings_path.h"
#include "text/document_encoding.h"
#include "view/page_printer.h"
#include "view/printer_font.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPrinter>
#include <QTemporaryFile>

#include <optional>
#include <string>

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

std::optional<QFont> FontOf(const LOGFONT& record) {
    if (record.lfHeight == 0) {
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

// Prints content to a temporary PDF file and returns its bytes; false after printing the
// error.
bool RenderPdf(const std::string& where, const AppSettings& settings, PrintContent content,
               QByteArray& pdf) {
    QTemporaryFile temp;
    if (!temp.open()) {
        cli::PrintError(where,
                        "cannot create a temporary file: " + temp.errorString().toStdString());
        return false;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(temp.fileName());
    printer.setDocName(content.title);
    content.bodyFont =
        BodyFontFor(FontOf(settings.printerFont), FontOf(settings.screenFont), printer);
    PagePrinter pages(printer, std::move(content));
    if (!pages.Print(pages.AllPages())) {
        cli::PrintError(where, "the PDF could not be written");
        return false;
    }
    QFile written(temp.fileName());
    if (!written.open(QIODevice::ReadOnly)) {
        cli::PrintError(where, "cannot read the PDF back: " + written.errorString().toStdString());
        return false;
    }
    pdf = written.readAll();
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
    const DecodedDocument document = DecodeDocument(bytes);

    // The settings file is read, never written.
    AppSettings settings;
    SpeechState speech;
    LoadSettings(ProfileFile::Open(SettingsPath()), settings, speech);

    UseOffscreenWithoutDisplay();
    qInstallMessageHandler(QuietQtMessages);
    QGuiApplication app(argc, argv);

    PrintContent content;
    content.title = TitleOf(options.input);
    content.text = QString::fromStdU16String(document.text);
    content.switches = PageSwitches{settings.printFileName != 0, settings.printDate != 0,
                                    settings.printPageNumber != 0};
    content.time = JobTimeNow();
    QByteArray pdf;
    const std::string output = options.pdfOutput == "-" ? "standard output" : options.pdfOutput;
    if (!RenderPdf(output, settings, std::move(content), pdf)) {
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
