#include "printing/page_printer.h"

#include "settings/settings.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <utility>
#include <vector>

namespace yomi6 {

namespace {

QSize BodySize(const PageFrame& f) {
    return {f.right - f.left - 2 * f.inset, f.bottom - f.top - 2 * f.inset};
}

// Draws text with its top-left corner at (x, y) in the painter's font.
void DrawAt(QPainter& painter, int x, int y, const QString& text) {
    painter.drawText(QPointF(x, y + painter.fontMetrics().ascent()), text);
}

} // namespace

PageSwitches PageSwitchesFromSettings(const AppSettings& settings) {
    return PageSwitches{settings.printFileName, settings.printDate, settings.printPageNumber};
}

QFont HeaderFont() {
    return QGuiApplication::font();
}

PageFrame MeasurePageFrame(const QPaintDevice& device) {
    PageFrame f;
    f.right = device.width();
    f.bottom = device.height();
    f.lineHeight = QFontMetrics(HeaderFont(), &device).height();
    f.inset = f.lineHeight + 2 * (f.lineHeight / 4);
    return f;
}

PagePrinter::PagePrinter(QPrinter& printer, PrintContent content)
    : m_printer(printer), m_content(std::move(content)), m_frame(MeasurePageFrame(printer)),
      m_pages(m_content.text, m_content.bodyFont, &printer, BodySize(m_frame)) {}

PrintPlan PagePrinter::AllPages() const {
    return PrintPlan{1, PageCount(), 1, false};
}

PrintPlan PagePrinter::PlanChosenIn(const QPrinter& printer) const {
    PrintPlan plan = AllPages();
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        plan.first = printer.fromPage();
        plan.last = std::min(printer.toPage() > 0 ? printer.toPage() : PageCount(), PageCount());
    }
    // A printer that cannot make copies itself is sent every page again.
    plan.copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    plan.reverse = printer.pageOrder() == QPrinter::LastPageFirst;
    return plan;
}

bool PagePrinter::Print(const PrintPlan& plan) {
    std::vector<int> order;
    for (int copy = 0; copy < plan.copies; ++copy) {
        for (int p = plan.first; p <= plan.last; ++p) {
            order.push_back(plan.reverse ? plan.last + plan.first - p : p);
        }
    }
    if (order.empty()) {
        return true; // a range past the last page prints nothing
    }
    QPainter painter;
    if (!painter.begin(&m_printer)) {
        return false;
    }
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (i > 0 && !m_printer.newPage()) {
            painter.end();
            return false;
        }
        DrawPage(painter, order[i]);
    }
    return painter.end() && m_printer.printerState() != QPrinter::Error;
}

void PagePrinter::DrawPage(QPainter& painter, int page) const {
    const PageFrame& f = m_frame;
    const PageSwitches& on = m_content.switches;
    painter.setFont(HeaderFont());
    if (on.fileName) {
        DrawAt(painter, f.left, f.top, m_content.title);
    }
    if (on.date) {
        const QString date = DateText(m_content.time);
        const int width = painter.fontMetrics().horizontalAdvance(date);
        DrawAt(painter, f.right - std::max(kDateFromRight, width), f.top, date);
    }
    m_pages.DrawPage(painter, page, QPoint(f.left + f.inset, f.top + f.inset));
    if (on.pageNumber) {
        painter.setFont(HeaderFont());
        DrawAt(painter, f.right / 2, f.bottom - f.lineHeight, PageText(page));
    }
}

} // namespace yomi6
