// The view's printing commands: print (with or without the print dialog), print preview, the
// printer font and the page layout.
#include "editor/document.h"
#include "editor/print_job.h"
#include "editor/text_view.h"
#include "platform/font_description_qt.h"
#include "platform/message_box.h"
#include "printing/page_layout_dialog.h"
#include "printing/page_printer.h"
#include "printing/print_strings.h"
#include "printing/printer_font.h"
#include "settings/settings.h"
#include "speaking/app_context.h"

#include <QApplication>
#include <QFontDialog>
#include <QPaintEngine>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>

namespace yomi6 {

namespace {

// The highest page number the print dialog accepts in a range.
constexpr int kMaxPageNumber = 65535;

// The preview draws into recorded pictures; a real job draws on the printer's own engine.
bool IsPreview(QPrinter& printer) {
    const QPaintEngine* engine = printer.paintEngine();
    return engine != nullptr && engine->type() == QPaintEngine::Picture;
}

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

void TextView::PrintDocument(bool withDialog) {
    QPrinter& printer = m_document->Context().Printer();
    if (withDialog) {
        QPrintDialog dialog(&printer, window());
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
        dialog.setMinMax(1, kMaxPageNumber);
        if (dialog.exec() != QDialog::Accepted) {
            return;
        }
    }
    bool printed = false;
    {
        const PrintJob job(*this);
        const WaitCursor wait;
        PagePrinter pages(printer, job.ContentFor(printer));
        printed = pages.Print(withDialog ? pages.PlanChosenIn(printer) : pages.AllPages());
    }
    if (!printed) {
        ShowMessage(window(), QString::fromUtf8(print_strings::kCannotStartJob),
                    MessageBoxType::IconExclamation);
    }
}

void TextView::PreviewPrint() {
    const PrintJob job(*this);
    QPrinter& printer = m_document->Context().Printer();
    QPrintPreviewDialog dialog(&printer, window());
    auto* preview = dialog.findChild<QPrintPreviewWidget*>();
    // The real caret, wherever it is in the document.
    const int caret = textCursor().position();
    int startPage = 1;
    bool opened = false;
    connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* target) {
        const WaitCursor wait;
        PagePrinter pages(*target, job.ContentFor(*target));
        if (IsPreview(*target)) {
            startPage = pages.PageOf(caret);
            pages.Print(pages.AllPages());
        } else if (!pages.Print(pages.PlanChosenIn(*target))) {
            ShowMessage(&dialog, QString::fromUtf8(print_strings::kCannotStartJob),
                        MessageBoxType::IconExclamation);
        }
    });
    // The preview opens at the page that holds the caret; later updates (a new page setup)
    // keep the page the user is on.
    if (preview != nullptr) {
        connect(preview, &QPrintPreviewWidget::previewChanged, &dialog, [&, preview] {
            if (!opened) {
                opened = true;
                preview->setCurrentPage(startPage);
            }
        });
    }
    dialog.exec();
}

void TextView::ChoosePrinterFont() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QPrinter& printer = m_document->Context().Printer();
    QApplication::restoreOverrideCursor();
    if (!printer.isValid()) {
        return; // no printer to list fonts for
    }
    // The dialog works in screen units: the printer font's record is converted on the way.
    bool ok = false;
    const QFontDialog::FontDialogOptions scalableOnly = QFontDialog::ScalableFonts;
    const QFont chosen =
        m_printerFont
            ? QFontDialog::getFont(
                  &ok,
                  FontFromRecord(PrinterToScreenUnits(RecordFromFont(*m_printerFont), printer)),
                  window(), QString(), scalableOnly)
            : QFontDialog::getFont(&ok, QFont(), window(), QString(), scalableOnly);
    if (!ok) {
        return;
    }
    const FontDescription record = ScreenToPrinterUnits(RecordFromFont(chosen), printer);
    if (record.height == 0) {
        return; // a font of no height cannot be made
    }
    m_printerFont = FontFromRecord(record);
    m_document->Context().Settings().printerFont = record;
}

void TextView::EditPageLayout() {
    AppSettings& settings = m_document->Context().Settings();
    PageLayoutDialog dialog(PageSwitchesFromSettings(settings), window());
    if (dialog.exec() == QDialog::Accepted) {
        const PageSwitches& accepted = dialog.Switches();
        settings.printFileName = accepted.fileName;
        settings.printDate = accepted.date;
        settings.printPageNumber = accepted.pageNumber;
    }
}

} // namespace yomi6
