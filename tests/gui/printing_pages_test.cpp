// Printed pages read back from PDF: where the header, footer and body lie for each switch
// combination, the date of a job, page breaks of a long text, long lines wrapped in a view that
// does not wrap, and the PDF mode giving the same pages as the print command.
#include "app/main_window.h"
#include "commands/command_ids.h"
#include "editor/text_view.h"
#include "gui/gui_test_support.h"
#include "gui/pdf_words.h"
#include "gui/print_test_support.h"
#include "playback/speech_state.h"
#include "printing/page_header.h"
#include "printing/print_pagination.h"
#include "settings/settings.h"

#include <QDateTime>
#include <QFile>
#include <QFontMetricsF>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <memory>

using namespace yomi6;
using namespace yomi6::test;

namespace {

// Positions in a PDF are compared to a tenth of a millimetre or so.
constexpr double kTolerance = 0.4;

bool Near(double actual, double expected) {
    return std::abs(actual - expected) <= kTolerance;
}

#define QVERIFY_NEAR(actual, expected)                                                             \
    QVERIFY2(Near((actual), (expected)),                                                           \
             qPrintable(QStringLiteral("%1 is not near %2").arg(actual).arg(expected)))

const QRegularExpression kDateWord(QStringLiteral("^\\d{4}/\\d{2}/\\d{2}$"));
const QRegularExpression kTimeWord(QStringLiteral("^\\d{2}:\\d{2}:\\d{2}$"));

std::vector<PdfWord> Matching(const std::vector<PdfWord>& words, const QRegularExpression& re) {
    std::vector<PdfWord> result;
    for (const PdfWord& w : words) {
        if (re.match(w.text).hasMatch()) {
            result.push_back(w);
        }
    }
    return result;
}

// The body words of a page: everything but the page number and the date and title lines.
std::vector<PdfWord> BodyWords(const PdfText& pdf, int page) {
    std::vector<PdfWord> result;
    for (const PdfWord& w : pdf.OnPage(page)) {
        if (w.text.startsWith(QLatin1Char('L')) || w.text == QStringLiteral("filler") ||
            w.text.startsWith(QLatin1Char('w'))) {
            result.push_back(w);
        }
    }
    return result;
}

} // namespace

class PrintingPagesTest : public GuiTestCase {
    Q_OBJECT

private slots:
    void headerFooterAndBodyForEachSwitchCombination() {
        const QString doc = cwd().filePath(QStringLiteral("switches.txt"));
        QVERIFY(WriteBytes(doc, "Alpha beta\r\nGamma"));
        EditorRun run(sound(), {doc});
        QVERIFY(run.ok());
        for (int mask = 0; mask < 8; ++mask) {
            const bool title = (mask & 1) != 0;
            const bool date = (mask & 2) != 0;
            const bool number = (mask & 4) != 0;
            run.settings().printFileName = title;
            run.settings().printDate = date;
            run.settings().printPageNumber = number;
            const QString path = cwd().filePath(QStringLiteral("switches%1.pdf").arg(mask));
            const PagePoints page = PagePointsOf(PdfPrinter(run.printer(), path));
            run.frame().Dispatch(CommandId::FilePrintDirect);

            const PdfText pdf = ReadPdfWords(path);
            QVERIFY(pdf.ok);
            QCOMPARE(pdf.pageCount, 1);
            const std::vector<PdfWord> words = pdf.OnPage(1);
            QCOMPARE(int(words.size()), 3 + (title ? 1 : 0) + (date ? 2 : 0) + (number ? 1 : 0));

            // The body is inset by h from the page's left and top whatever is switched on.
            const auto alpha = pdf.Find(1, QStringLiteral("Alpha"));
            QCOMPARE(alpha.size(), 1u);
            QVERIFY_NEAR(alpha[0].xMin, page.X(page.Inset()));
            QVERIFY_NEAR(alpha[0].yMin, page.Y(page.Inset()));
            const auto gamma = pdf.Find(1, QStringLiteral("Gamma"));
            QCOMPARE(gamma.size(), 1u);
            QVERIFY_NEAR(gamma[0].xMin, page.X(page.Inset()));
            QVERIFY(gamma[0].yMin > alpha[0].yMax - kTolerance);

            const auto titleWords = pdf.Find(1, QStringLiteral("switches.txt"));
            QCOMPARE(titleWords.size(), title ? 1u : 0u);
            if (title) {
                QVERIFY_NEAR(titleWords[0].xMin, page.X(0));
                QVERIFY_NEAR(titleWords[0].yMin, page.Y(0));
            }
            const auto dates = Matching(words, kDateWord);
            const auto times = Matching(words, kTimeWord);
            QCOMPARE(dates.size(), date ? 1u : 0u);
            QCOMPARE(times.size(), date ? 1u : 0u);
            if (date) {
                // At this resolution the date is wider than 330 units: it ends at the right
                // edge instead of running off the page.
                QVERIFY_NEAR(dates[0].yMin, page.Y(0));
                QVERIFY(page.X(page.width) - dates[0].xMin > 330 * page.perUnit);
                QVERIFY(times[0].xMax <= page.X(page.width) + kTolerance);
                QVERIFY(times[0].xMax > page.X(page.width) - 2);
            }
            const auto footer = pdf.Find(1, QStringLiteral("-1-"));
            QCOMPARE(footer.size(), number ? 1u : 0u);
            if (number) {
                const int middle = page.width / 2;
                QVERIFY_NEAR(footer[0].xMin, page.X(middle));
                QVERIFY_NEAR(footer[0].yMin, page.Y(page.height - page.lineHeight));
            }
        }
    }

    void dateStartsThreeHundredThirtyUnitsFromTheRightWhereItFits() {
        // At 72 dots per inch a unit is a point and the date is far narrower than 330 units.
        EditorRun run(sound());
        run.settings().printDate = true;
        run.view()->setPlainText(QStringLiteral("Alpha"));
        const QString path = cwd().filePath(QStringLiteral("date72.pdf"));
        const PagePoints page = PagePointsOf(PdfPrinter(run.printer(), path, 72));
        run.frame().Dispatch(CommandId::FilePrintDirect);
        const PdfText pdf = ReadPdfWords(path);
        const auto dates = Matching(pdf.OnPage(1), kDateWord);
        QCOMPARE(dates.size(), 1u);
        QVERIFY_NEAR(dates[0].xMin, page.X(page.width - 330));
        QVERIFY_NEAR(dates[0].yMin, page.Y(0));
    }

    void longTextFillsEveryPageButTheLastInOrderAllAtOneTime() {
        constexpr int kLines = 500;
        EditorRun run(sound());
        run.settings().printDate = true;
        run.view()->setPlainText(NumberedLines(kLines));
        const QString path = cwd().filePath(QStringLiteral("long.pdf"));
        const PagePoints page = PagePointsOf(PdfPrinter(run.printer(), path));
        const QDateTime before = QDateTime::currentDateTime().addMSecs(-999);
        run.frame().Dispatch(CommandId::FilePrintDirect);
        const QDateTime after = QDateTime::currentDateTime();
        const PdfText pdf = ReadPdfWords(path);
        QVERIFY(pdf.ok);
        QVERIFY(pdf.pageCount > 2);

        // Every page shows the time the job began.
        const auto dates = Matching(pdf.words, kDateWord);
        const auto times = Matching(pdf.words, kTimeWord);
        QCOMPARE(int(dates.size()), pdf.pageCount);
        QCOMPARE(int(times.size()), pdf.pageCount);
        for (std::size_t i = 0; i < dates.size(); ++i) {
            QCOMPARE(dates[i].text + times[i].text, dates[0].text + times[0].text);
        }
        const QDateTime printed = QDateTime::fromString(dates[0].text + times[0].text,
                                                        QStringLiteral("yyyy/MM/ddHH:mm:ss"));
        QVERIFY(printed >= before && printed <= after);

        const int perPage = int(BodyWords(pdf, 1).size());
        QVERIFY(perPage > 1);
        QCOMPARE(pdf.pageCount, (kLines + perPage - 1) / perPage);
        int next = 1;
        for (int p = 1; p <= pdf.pageCount; ++p) {
            const auto body = BodyWords(pdf, p);
            QCOMPARE(int(body.size()), p < pdf.pageCount ? perPage : kLines - perPage * (p - 1));
            QVERIFY_NEAR(body.front().yMin, page.Y(page.Inset()));
            QVERIFY(body.back().yMax <= page.Y(page.height - page.Inset()) + kTolerance);
            for (const PdfWord& w : body) {
                QCOMPARE(w.text, QStringLiteral("L%1").arg(next++, 4, 10, QLatin1Char('0')));
            }
            QCOMPARE(pdf.Find(p, PageText(p)).size(), 1u);
            if (p < pdf.pageCount) {
                // The page is full: one more line would reach below the body.
                const double pitch = body[1].yMin - body[0].yMin;
                QVERIFY(body.back().yMin + pitch + (body.back().yMax - body.back().yMin) >
                        page.Y(page.height - page.Inset()));
            }
        }
        QCOMPARE(next, kLines + 1);
    }

    void longLinesOfAnUnwrappedViewPrintWrapped() {
        QStringList words;
        for (int i = 1; i <= 300; ++i) {
            words << QStringLiteral("w%1").arg(i, 3, 10, QLatin1Char('0'));
        }
        EditorRun run(sound());
        QVERIFY(!run.view()->IsWordWrap());
        run.view()->setPlainText(words.join(QLatin1Char(' ')));
        const QString path = cwd().filePath(QStringLiteral("wrapped.pdf"));
        const PagePoints page = PagePointsOf(PdfPrinter(run.printer(), path));
        run.frame().Dispatch(CommandId::FilePrintDirect);
        QVERIFY(!run.view()->IsWordWrap()); // unwrapped again after the job

        const PdfText pdf = ReadPdfWords(path);
        const auto body = BodyWords(pdf, 1);
        QCOMPARE(int(body.size()), 300);
        int lines = 1;
        for (std::size_t i = 0; i < body.size(); ++i) {
            QCOMPARE(body[i].text, words[int(i)]);
            QVERIFY(body[i].xMax <= page.X(page.width - page.Inset()) + kTolerance);
            if (i > 0 && body[i].yMin > body[i - 1].yMin + kTolerance) {
                ++lines;
                QVERIFY_NEAR(body[i].xMin, page.X(page.Inset())); // a continuation line
            }
        }
        QVERIFY(lines > 2);

        // A view that wrapped before the job still wraps after it.
        run.frame().Dispatch(CommandId::WordWrap);
        QVERIFY(run.view()->IsWordWrap());
        run.frame().Dispatch(CommandId::FilePrintDirect);
        QVERIFY(run.view()->IsWordWrap());
        QVERIFY(run.settings().wordWrap);
    }

    void aLongLineBreaksAsOneLayoutWouldBreakIt() {
        // Long lines are laid out a piece at a time; the printed lines must not show where the
        // pieces end. The reference lays each line out whole.
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(cwd().filePath(QStringLiteral("pieces.pdf")));
        QFont font(QStringLiteral("Sans"));
        font.setPixelSize(100);
        const QFontMetricsF metrics(font, &printer);
        const QSize body(3000, int(metrics.lineSpacing() * 3.5)); // a few lines a page
        QString words;
        for (int i = 0; words.size() < 30000; ++i) {
            words += QStringLiteral("w%1 ").arg(i % 977) + (i % 50 == 0 ? QString(300, 'x') : "");
        }
        const QString texts[] = {
            QString(30000, QLatin1Char('a')),
            words,
            QString::fromUtf8("漢字とかなの混じった文、").repeated(2500),
            QStringLiteral("short\n") + QString(9000, QLatin1Char('b')) + QStringLiteral("\n\tend"),
        };
        for (const QString& text : texts) {
            QTextOption option;
            option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
            option.setTabStopDistance(metrics.horizontalAdvance(QLatin1Char(' ')) * 8);
            std::vector<int> starts; // the text position of every printed line
            qsizetype lineStart = 0;
            for (const QString& line : text.split(QLatin1Char('\n'))) {
                QTextLayout whole(line, font, &printer);
                whole.setTextOption(option);
                whole.beginLayout();
                for (QTextLine l = whole.createLine(); l.isValid(); l = whole.createLine()) {
                    l.setLineWidth(body.width());
                    starts.push_back(int(lineStart) + l.textStart());
                }
                whole.endLayout();
                lineStart += line.size() + 1;
            }
            // Every line has the same height here, so every page holds the same number.
            const Pagination pages(text, font, &printer, body);
            QVERIFY(pages.PageCount() > 10);
            const auto perPage = std::size_t(
                std::find(starts.begin(), starts.end(), pages.PageStart(2)) - starts.begin());
            QVERIFY(perPage >= 1 && perPage <= 3);
            QCOMPARE(std::size_t(pages.PageCount()), (starts.size() + perPage - 1) / perPage);
            for (int page = 1; page <= pages.PageCount(); ++page) {
                QCOMPARE(pages.PageStart(page), starts[std::size_t(page - 1) * perPage]);
            }
        }
    }

    void japaneseTitleAndTextPrintInACjkFont() {
        const QString path = cwd().filePath(QString::fromUtf8("かなのなまえ.txt"));
        QVERIFY(WriteBytes(path, Sjis("こんにちは、世界。\r\nかな\r\n")));
        EditorRun run(sound(), {path});
        QVERIFY(run.ok());
        run.settings().printFileName = true;
        const QString pdfPath = cwd().filePath(QStringLiteral("japanese.pdf"));
        const PagePoints page = PagePointsOf(PdfPrinter(run.printer(), pdfPath));
        run.frame().Dispatch(CommandId::FilePrintDirect);
        const PdfText pdf = ReadPdfWords(pdfPath);
        const auto title = pdf.Find(1, QString::fromUtf8("かなのなまえ.txt"));
        QCOMPARE(title.size(), 1u);
        QVERIFY_NEAR(title[0].xMin, page.X(0));
        const auto text = pdf.Find(1, QString::fromUtf8("こんにちは、世界。"));
        QCOMPARE(text.size(), 1u);
        QVERIFY_NEAR(text[0].xMin, page.X(page.Inset()));
        QCOMPARE(pdf.Find(1, QString::fromUtf8("かな")).size(), 1u);
    }

    void pdfModeGivesTheSamePagesAsThePrintCommand() {
        // The switches and no fonts in the settings file, read by both.
        QVERIFY(WriteBytes(config().IniPath(),
                           Sjis("[よみあげPadのセッティング]\r\nファイル名の印字=1\r\n"
                                "日付の印字=1\r\nページ印字=1\r\n")));
        const QString doc = cwd().filePath(QStringLiteral("same.txt"));
        QVERIFY(WriteBytes(doc, Sjis("一行目 first line\r\n") +
                                    NumberedLines(200, 9).toUtf8().replace("\n", "\r\n")));
        const QString printed = cwd().filePath(QStringLiteral("printed.pdf"));
        {
            EditorRun run(sound(), {doc});
            QVERIFY(run.ok());
            PdfPrinter(run.printer(), printed);
            run.frame().Dispatch(CommandId::FilePrintDirect);
        }
        const QString converted = cwd().filePath(QStringLiteral("converted.pdf"));
        QProcess yomi6;
        yomi6.setProcessChannelMode(QProcess::ForwardedChannels);
        yomi6.start(QStringLiteral(YOMI6_EXECUTABLE), {QStringLiteral("--pdf"), converted, doc});
        QVERIFY(yomi6.waitForFinished(60000));
        QCOMPARE(yomi6.exitCode(), 0);

        const PdfText a = ReadPdfWords(printed);
        const PdfText b = ReadPdfWords(converted);
        QVERIFY(a.pageCount > 1);
        QCOMPARE(b.pageCount, a.pageCount);
        QCOMPARE(b.words.size(), a.words.size());
        for (std::size_t i = 0; i < a.words.size(); ++i) {
            const PdfWord& x = a.words[i];
            const PdfWord& y = b.words[i];
            QCOMPARE(y.page, x.page);
            if (kTimeWord.match(x.text).hasMatch() || kDateWord.match(x.text).hasMatch()) {
                QVERIFY(kTimeWord.match(y.text).hasMatch() || kDateWord.match(y.text).hasMatch());
            } else {
                QCOMPARE(y.text, x.text);
                QCOMPARE(y.xMin, x.xMin);
            }
            QCOMPARE(y.yMin, x.yMin);
        }
    }
};

QTEST_MAIN(PrintingPagesTest)
#include "printing_pages_test.moc"
