// Helpers of the printing tests: the application's printer set up to
// write PDF files, and where the page's parts lie on the paper in points.
#pragma once

#include "gui/gui_test_support.h"

#include "app/application.h"

#include <QDialog>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <memory>

class QPrinter;

namespace yomi6 {
class MainWindow;
class TextView;
} // namespace yomi6

namespace yomi6::test {

// Rejects a modal dialog when a test's handler returns, unless the handler closed it: a failed
// check inside a handler must not leave the dialog open and the test waiting for ever.
class RejectOnExit {
public:
    explicit RejectOnExit(QWidget* modal) : m_dialog(qobject_cast<QDialog*>(modal)) {}
    ~RejectOnExit() {
        if (m_dialog && m_dialog->isVisible()) {
            m_dialog->reject();
        }
    }
    RejectOnExit(const RejectOnExit&) = delete;
    RejectOnExit& operator=(const RejectOnExit&) = delete;

private:
    QPointer<QDialog> m_dialog;
};

// printer (a run's, EditorRun::printer()) back to a plain PDF job at resolution dpi writing
// to path: all pages, one copy, first page first.
QPrinter& PdfPrinter(QPrinter& printer, const QString& path, int dpi = 1200);

// A page of the printer in points on the paper: the drawing rectangle's top-left corner, the
// size of one device unit, the page's width and height (R, B) in device units, and the
// header's line height H in device units.
struct PagePoints {
    double left = 0;
    double top = 0;
    double perUnit = 0;
    int width = 0;
    int height = 0;
    int lineHeight = 0;

    double X(double units) const { return left + units * perUnit; }
    double Y(double units) const { return top + units * perUnit; }
    // The body's inset from every edge, h = H + 2 * (H / 4).
    int Inset() const { return lineHeight + 2 * (lineHeight / 4); }
};
PagePoints PagePointsOf(QPrinter& printer);

// n lines "L0001", "L0002", ... joined by '\n', each followed by filler words when
// filler > 0.
QString NumberedLines(int n, int filler = 0);

} // namespace yomi6::test
