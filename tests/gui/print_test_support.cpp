#include "gui/print_test_support.h"

#include "app/document_window.h"
#include "app/main_window.h"
#include "editor/document.h"
#include "editor/text_view.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPrinter>

namespace yomi6::test {

QPrinter& PdfPrinter(QPrinter& printer, const QString& path, int dpi) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setResolution(dpi);
    printer.setPrintRange(QPrinter::AllPages);
    printer.setFromTo(0, 0);
    printer.setCopyCount(1);
    printer.setPageOrder(QPrinter::FirstPageFirst);
    return printer;
}

PagePoints PagePointsOf(QPrinter& printer) {
    const QRectF paint = printer.pageLayout().paintRect(QPageLayout::Point);
    PagePoints p;
    p.left = paint.left();
    p.top = paint.top();
    p.perUnit = 72.0 / printer.resolution();
    p.width = printer.width();
    p.height = printer.height();
    p.lineHeight = QFontMetrics(QGuiApplication::font(), &printer).height();
    return p;
}

QString NumberedLines(int n, int filler) {
    QStringList lines;
    for (int i = 1; i <= n; ++i) {
        QString line = QStringLiteral("L%1").arg(i, 4, 10, QLatin1Char('0'));
        for (int f = 0; f < filler; ++f) {
            line += QStringLiteral(" filler");
        }
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace yomi6::test
