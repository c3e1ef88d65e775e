// The printed page, one place for printing, preview and the PDF mode: the body inset from the
// page on all four sides, the document title at the top left, the job's date and time at the
// top right and the page number at the bottom, each switched on or off.
#pragma once

#include "printing/page_header.h"
#include "printing/print_pagination.h"

#include <QFont>
#include <QString>

class QPainter;
class QPaintDevice;
class QPrinter;

namespace yomi6 {

struct AppSettings;

struct PageSwitches {
    bool fileName = false;  // the document title at the top left
    bool date = false;      // the job's date and time at the top right
    bool pageNumber = true; // "-N-" at the bottom
};

// The switches as the settings hold them now.
PageSwitches PageSwitchesFromSettings(const AppSettings& settings);

// Everything one job prints.
struct PrintContent {
    QString title;  // the document's title: its file name, or "無題N"
    QString text;   // '\n' between lines
    QFont bodyFont; // the font of the text as the printer uses it (see BodyFontFor)
    PageSwitches switches;
    JobTime time;
};

// The header and footer font: the device's default font.
QFont HeaderFont();

// A page's drawing rectangle (L, T, R, B; R and B are the page's width and height) and the
// header's line height H, all in device units, with the body's inset h = H + 2 * (H / 4).
struct PageFrame {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int lineHeight = 0;
    int inset = 0;
};
PageFrame MeasurePageFrame(const QPaintDevice& device);

// The date's left edge lies this many device units left of the page's right edge; a date text
// wider than that ends at the right edge instead, so that no part of it falls off the page.
inline constexpr int kDateFromRight = 330;

// Which pages a job prints, in which order, how many times.
struct PrintPlan {
    int first = 1;
    int last = 1;
    int copies = 1;
    bool reverse = false;
};

class PagePrinter {
public:
    // Measures the printer's page and cuts the text into pages.
    PagePrinter(QPrinter& printer, PrintContent content);

    int PageCount() const { return m_pages.PageCount(); }
    // The page (from 1) that holds a text position.
    int PageOf(int position) const { return m_pages.PageOf(position); }
    const PageFrame& Frame() const { return m_frame; }

    // Every page once, in order (the preview).
    PrintPlan AllPages() const;
    // The range, copies and order chosen in the print dialog.
    PrintPlan PlanChosenIn(const QPrinter& printer) const;

    // Prints the plan's pages with one time for all of them. False when the printer refused
    // to start the job or reported an error.
    bool Print(const PrintPlan& plan);

private:
    void DrawPage(QPainter& painter, int page) const;

    QPrinter& m_printer;
    PrintContent m_content;
    PageFrame m_frame;
    Pagination m_pages;
};

} // namespace yomi6
