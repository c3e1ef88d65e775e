// The printing commands through the editor's windows: the page layout dialog, the printer font
// kept in printer units, the print dialog, a job that cannot start, printer setup, and the
// preview opening at the caret's page with word wrap on while it is open.
#include "app/main_window.h"
#include "commands/command_ids.h"
#include "editor/text_view.h"
#include "gui/gui_test_support.h"
#include "gui/pdf_words.h"
#include "gui/print_test_support.h"
#include "platform/dialog_units.h"
#include "playback/speech_state.h"
#include "printing/page_layout_dialog.h"
#include "printing/print_pagination.h"
#include "printing/printer_font.h"
#include "settings/settings.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QFile>
#include <QFontDialog>
#include <QFontInfo>
#include <QGuiApplication>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>

#include <cmath>
#include <memory>

using namespace yomi6;
using namespace yomi6::test;

namespace {

// Answers the font dialog with a font of pixelSize screen pixels (or cancels it with 0), and
// records the pixel size the dialog opened with.
std::unique_ptr<ModalHandler> AnswerFontDialog(int pixelSize, int* openedWith = nullptr) {
    return std::make_unique<ModalHandler>([pixelSize, openedWith](QWidget* w) {
        const RejectOnExit guard(w);
        auto* dialog = qobject_cast<QFontDialog*>(w);
        QVERIFY(dialog != nullptr);
        if (openedWith != nullptr) {
            *openedWith = QFontInfo(dialog->currentFont()).pixelSize();
        }
        if (pixelSize == 0) {
            dialog->reject();
            return;
        }
        QFont f = dialog->currentFont();
        f.setPixelSize(pixelSize);
        dialog->setCurrentFont(f);
        dialog->accept();
    });
}

// Moves the caret of view to the start of the line that starts with label.
void PutCaretAt(TextView* view, const QString& label) {
    const qsizetype position = view->Text().indexOf(label);
    QVERIFY(position >= 0);
    QTextCursor cursor = view->textCursor();
    cursor.setPosition(int(position));
    view->setTextCursor(cursor);
}

// The page the preview shows, its page count and whether the view wrapped while it was open.
struct PreviewSeen {
    int currentPage = 0;
    int pageCount = 0;
    bool wrapped = false;
};

PreviewSeen OpenPreview(EditorRun& run) {
    PreviewSeen seen;
    ModalHandler preview([&](QWidget* w) {
        const RejectOnExit guard(w);
        auto* dialog = qobject_cast<QPrintPreviewDialog*>(w);
        QVERIFY(dialog != nullptr);
        auto* widget = dialog->findChild<QPrintPreviewWidget*>();
        QVERIFY(widget != nullptr);
        seen.currentPage = widget->currentPage();
        seen.pageCount = widget->pageCount();
        seen.wrapped = run.view()->IsWordWrap();
        dialog->reject();
    });
    run.frame().Dispatch(CommandId::FilePrintPreview);
    return seen;
}

// The page of a PDF that holds the word label.
int PageHolding(const PdfText& pdf, const QString& label) {
    for (const PdfWord& w : pdf.words) {
        if (w.text == label) {
            return w.page;
        }
    }
    return 0;
}

} // namespace

class PrintingCommandsTest : public GuiTestCase {
    Q_OBJECT

private slots:
    void pageLayoutDialogShowsAndSetsTheSwitches() {
        {
            EditorRun run(sound());
            PdfPrinter(run.printer(), cwd().filePath(QStringLiteral("unused.pdf")));
            // The defaults: title and date OFF, page number ON.
            ModalHandler answer([](QWidget* w) {
                const RejectOnExit guard(w);
                auto* dialog = qobject_cast<PageLayoutDialog*>(w);
                QVERIFY(dialog != nullptr);
                QCOMPARE(dialog->windowTitle(), QString::fromUtf8("ページレイアウトの設定"));
                // Every control in the template's order, which is the tab order, at its place.
                const DialogUnits du(DialogFont(11));
                QCOMPARE(dialog->size(), du.ToPixels(QSize(144, 160)));
                const QStringList controls = {
                    ControlLine("QPushButton", "OK", QRect(20, 137, 50, 14), du),
                    ControlLine("QPushButton", "ｷｬﾝｾﾙ", QRect(72, 137, 50, 14), du),
                    ControlLine("QGroupBox", "ファイル名", QRect(9, 6, 123, 34), du),
                    ControlLine("QPushButton", "ON", QRect(23, 18, 45, 16), du),
                    ControlLine("QPushButton", "OFF", QRect(73, 18, 45, 16), du),
                    ControlLine("QGroupBox", "日付と時刻", QRect(9, 48, 123, 34), du),
                    ControlLine("QPushButton", "ON", QRect(23, 60, 45, 16), du),
                    ControlLine("QPushButton", "OFF", QRect(73, 60, 45, 16), du),
                    ControlLine("QGroupBox", "ページ", QRect(9, 91, 123, 34), du),
                    ControlLine("QPushButton", "ON", QRect(23, 103, 45, 16), du),
                    ControlLine("QPushButton", "OFF", QRect(73, 103, 45, 16), du),
                };
                QCOMPARE(ControlsInTabOrder(*dialog), controls);
                QCOMPARE(dialog->Pair(0)->checkedId(), 1);
                QCOMPARE(dialog->Pair(1)->checkedId(), 1);
                QCOMPARE(dialog->Pair(2)->checkedId(), 0);
                // Each pair is one group of two: ON unchecks OFF and leaves other pairs alone.
                QVERIFY(dialog->findChild<QPushButton*>(QStringLiteral("1004")) != nullptr);
                dialog->findChild<QPushButton*>(QStringLiteral("1004"))->click();
                dialog->findChild<QPushButton*>(QStringLiteral("1008"))->click();
                QCOMPARE(dialog->Pair(0)->checkedId(), 0);
                QVERIFY(!dialog->findChild<QPushButton*>(QStringLiteral("1003"))->isChecked());
                QCOMPARE(dialog->Pair(1)->checkedId(), 1);
                QCOMPARE(dialog->Pair(2)->checkedId(), 1);
                dialog->accept();
            });
            run.frame().Dispatch(CommandId::PageLayout);
            QVERIFY(answer.handled());
            QVERIFY(run.settings().printFileName);
            QVERIFY(!run.settings().printDate);
            QVERIFY(!run.settings().printPageNumber);

            // Cancel changes nothing, whatever was clicked.
            ModalHandler cancel([](QWidget* w) {
                const RejectOnExit guard(w);
                auto* dialog = qobject_cast<PageLayoutDialog*>(w);
                QVERIFY(dialog != nullptr);
                QCOMPARE(dialog->Pair(0)->checkedId(), 0);
                dialog->findChild<QPushButton*>(QStringLiteral("1005"))->click();
                dialog->reject();
            });
            run.frame().Dispatch(CommandId::PageLayout);
            QVERIFY(cancel.handled());
            QVERIFY(!run.settings().printDate);
        }
        const char* section = "よみあげPadのセッティング";
        QCOMPARE(IniInt(config().IniPath(), section, "ファイル名の印字"), std::optional<int>(1));
        QCOMPARE(IniInt(config().IniPath(), section, "ページ印字"), std::optional<int>(0));
    }

    void printerFontIsKeptInPrinterUnits() {
        {
            EditorRun run(sound());
            // 16 screen pixels on a 600-dpi printer, then on a 300-dpi one.
            const int screenDpi = ScreenDpiY();
            PdfPrinter(run.printer(), cwd().filePath(QStringLiteral("x.pdf")), 600);
            auto choose = AnswerFontDialog(16);
            run.frame().Dispatch(CommandId::PrinterFont);
            QVERIFY(choose->handled());
            const int at600 = run.settings().printerFont.height;
            QCOMPARE(at600, MulDiv(-16, 600, screenDpi));
            QCOMPARE(QFontInfo(*run.view()->PrinterFont()).pixelSize(), -at600);

            // The dialog opens with the printer font in screen units; cancel keeps it.
            int openedWith = 0;
            auto cancel = AnswerFontDialog(0, &openedWith);
            run.frame().Dispatch(CommandId::PrinterFont);
            QCOMPARE(openedWith, 16);
            QCOMPARE(run.settings().printerFont.height, at600);

            PdfPrinter(run.printer(), cwd().filePath(QStringLiteral("x.pdf")), 300);
            auto again = AnswerFontDialog(16);
            run.frame().Dispatch(CommandId::PrinterFont);
            QCOMPARE(run.settings().printerFont.height * 2, at600);
        }
        QCOMPARE(IniInt(config().IniPath(), "プリンタ用フォント", "Height"),
                 std::optional<int>(MulDiv(-16, 300, ScreenDpiY())));
    }

    void theBodyIsPrintedInThePrinterFont() {
        EditorRun run(sound());
        run.view()->setPlainText(QStringLiteral("Alpha"));
        auto bodyHeight = [&](int screenPixels) {
            const QString path = cwd().filePath(QStringLiteral("font%1.pdf").arg(screenPixels));
            PdfPrinter(run.printer(), path, 300);
            auto choose = AnswerFontDialog(screenPixels);
            run.frame().Dispatch(CommandId::PrinterFont);
            run.frame().Dispatch(CommandId::FilePrintDirect);
            const auto alpha = ReadPdfWords(path).Find(1, QStringLiteral("Alpha"));
            return alpha.size() == 1 ? alpha[0].yMax - alpha[0].yMin : 0.0;
        };
        const double small = bodyHeight(16);
        const double large = bodyHeight(32);
        QVERIFY(small > 0);
        QVERIFY(std::abs(large / small - 2.0) < 0.05);
    }

    void printDialogPrintsAndCancelPrintsNothing() {
        EditorRun run(sound());
        run.view()->setPlainText(QStringLiteral("Alpha"));
        const QString cancelled = cwd().filePath(QStringLiteral("cancelled.pdf"));
        PdfPrinter(run.printer(), cancelled);
        ModalHandler cancel([](QWidget* w) {
            const RejectOnExit guard(w);
            auto* dialog = qobject_cast<QPrintDialog*>(w);
            QVERIFY(dialog != nullptr);
            dialog->reject();
        });
        run.frame().Dispatch(CommandId::FilePrint);
        QVERIFY(cancel.handled());
        QVERIFY(!QFile::exists(cancelled));
        QVERIFY(!run.view()->IsWordWrap());

        const QString printed = cwd().filePath(QStringLiteral("dialog.pdf"));
        PdfPrinter(run.printer(), printed);
        ModalHandler accept([](QWidget* w) {
            const RejectOnExit guard(w);
            auto* dialog = qobject_cast<QPrintDialog*>(w);
            QVERIFY(dialog != nullptr);
            dialog->accept();
        });
        run.frame().Dispatch(CommandId::FilePrint);
        QVERIFY(accept.handled());
        const PdfText pdf = ReadPdfWords(printed);
        QCOMPARE(pdf.pageCount, 1);
        QCOMPARE(pdf.Find(1, QStringLiteral("Alpha")).size(), 1u);
    }

    void aJobThatCannotStartIsReported() {
        EditorRun run(sound());
        run.view()->setPlainText(QStringLiteral("Alpha"));
        PdfPrinter(run.printer(), cwd().filePath(QStringLiteral("no/such/folder/out.pdf")));
        auto box = AnswerNextMessageBox(QMessageBox::Ok);
        run.frame().Dispatch(CommandId::FilePrintDirect);
        QVERIFY(box->handled());
        QCOMPARE(box->text(), QString::fromUtf8("印刷ｼﾞｮﾌﾞを開始できませんでした。"));
        QVERIFY(!run.view()->IsWordWrap());
    }

    void printerSetupRunsOnTheFrame() {
        EditorRun run(sound());
        PdfPrinter(run.printer(), cwd().filePath(QStringLiteral("unused.pdf")));
        const auto actions = run.frame().ActionsFor(CommandId::FilePrintSetup);
        QVERIFY(!actions.empty());
        QVERIFY(actions.front()->isEnabled());
        ModalHandler setup([](QWidget* w) {
            const RejectOnExit guard(w);
            QVERIFY(qobject_cast<QPageSetupDialog*>(w) != nullptr);
            qobject_cast<QDialog*>(w)->reject();
        });
        run.frame().Dispatch(CommandId::FilePrintSetup);
        QVERIFY(setup.handled());
        for (CommandId id :
             {CommandId::FilePrint, CommandId::FilePrintPreview, CommandId::PrinterFont}) {
            const auto a = run.frame().ActionsFor(id);
            QVERIFY(!a.empty());
            QVERIFY(a.front()->isEnabled());
        }
    }

    void previewOpensAtTheCaretsPageWithWrapOn() {
        EditorRun run(sound());
        // Find how many lines a page holds, then make a text of five and a half pages.
        run.view()->setPlainText(NumberedLines(400));
        const QString probe = cwd().filePath(QStringLiteral("probe.pdf"));
        PdfPrinter(run.printer(), probe);
        run.frame().Dispatch(CommandId::FilePrintDirect);
        const PdfText probePdf = ReadPdfWords(probe);
        QVERIFY(probePdf.pageCount > 1);
        int perPage = 0;
        for (const PdfWord& w : probePdf.OnPage(1)) {
            perPage += w.text.startsWith(QLatin1Char('L')) ? 1 : 0;
        }
        QVERIFY(perPage > 2);
        run.view()->setPlainText(NumberedLines(5 * perPage + perPage / 2));
        const QString label = QStringLiteral("L%1").arg(3 * perPage + 2, 4, 10, QLatin1Char('0'));
        PutCaretAt(run.view(), label);
        QVERIFY(!run.view()->IsWordWrap());

        const PreviewSeen seen = OpenPreview(run);
        QCOMPARE(seen.pageCount, 6);
        QCOMPARE(seen.currentPage, 4);
        QVERIFY(seen.wrapped);
        QVERIFY(!run.view()->IsWordWrap());
    }

    void previewFindsTheCaretFarIntoALongDocument() {
        EditorRun run(sound());
        // About 150,000 characters: the caret lies far beyond the first 65,535.
        run.view()->setPlainText(NumberedLines(3000, 6));
        const QString label = QStringLiteral("L2900");
        PutCaretAt(run.view(), label);
        QVERIFY(run.view()->textCursor().position() > 65535);
        const QString path = cwd().filePath(QStringLiteral("far.pdf"));
        PdfPrinter(run.printer(), path);
        run.frame().Dispatch(CommandId::FilePrintDirect);
        const PdfText pdf = ReadPdfWords(path);
        const int expected = PageHolding(pdf, label);
        QVERIFY(expected > 1);

        const PreviewSeen seen = OpenPreview(run);
        QCOMPARE(seen.pageCount, pdf.pageCount);
        QCOMPARE(seen.currentPage, expected);
    }

    void printingFromThePreviewWritesTheJob() {
        EditorRun run(sound());
        run.view()->setPlainText(NumberedLines(150));
        const QString path = cwd().filePath(QStringLiteral("from-preview.pdf"));
        PdfPrinter(run.printer(), path);
        ModalHandler preview([&](QWidget* w) {
            const RejectOnExit guard(w);
            auto* dialog = qobject_cast<QPrintPreviewDialog*>(w);
            QVERIFY(dialog != nullptr);
            QAction* print = nullptr;
            for (QAction* a : dialog->findChildren<QAction*>()) {
                if (a->text() == QString::fromUtf8("印刷")) { // Qt's own text, in Japanese
                    print = a;
                }
            }
            QVERIFY(print != nullptr);
            // The print dialog comes first; the job goes to the printer's file.
            ModalHandler printDialog([](QWidget* d) {
                const RejectOnExit closeIt(d);
                auto* printSetup = qobject_cast<QPrintDialog*>(d);
                QVERIFY(printSetup != nullptr);
                printSetup->accept();
            });
            print->trigger();
            QVERIFY(printDialog.handled());
        });
        run.frame().Dispatch(CommandId::FilePrintPreview);
        QVERIFY(preview.handled());
        const PdfText pdf = ReadPdfWords(path);
        QVERIFY(pdf.pageCount > 1);
        QCOMPARE(PageHolding(pdf, QStringLiteral("L0150")), pdf.pageCount);
        QVERIFY(!run.view()->IsWordWrap());
    }

    void paginationOfEdgeTexts() {
        QPrinter standalone(QPrinter::HighResolution);
        QPrinter& printer = PdfPrinter(standalone, cwd().filePath(QStringLiteral("unused.pdf")));
        const QFont font = QGuiApplication::font();
        // An empty text is one page; a position past the end is on the last page.
        const Pagination empty(QString(), font, &printer, QSize(1000, 1000));
        QCOMPARE(empty.PageCount(), 1);
        QCOMPARE(empty.PageOf(0), 1);
        QCOMPARE(empty.PageOf(50), 1);
        // A body lower than one line still puts one line on each page.
        const Pagination tiny(QStringLiteral("a\nb\nc"), font, &printer, QSize(1000, 1));
        QCOMPARE(tiny.PageCount(), 3);
        QCOMPARE(tiny.PageStart(2), 2);
        QCOMPARE(tiny.PageOf(0), 1);
        QCOMPARE(tiny.PageOf(1), 1); // the line end belongs to the line before it
        QCOMPARE(tiny.PageOf(2), 2);
        QCOMPARE(tiny.PageOf(4), 3);
        QCOMPARE(tiny.PageOf(99), 3);
        // Rounding of the unit conversion: halves away from zero, no division by zero.
        QCOMPARE(MulDiv(-16, 600, 96), -100);
        QCOMPARE(MulDiv(5, 1, 2), 3);
        QCOMPARE(MulDiv(-5, 1, 2), -3);
        QCOMPARE(MulDiv(7, 3, 0), 0);
    }
};

QTEST_MAIN(PrintingCommandsTest)
#include "printing_commands_test.moc"
