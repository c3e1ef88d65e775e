// A text cut into printed pages: every line of the text laid out in the printer font at the
// body's width (wrapping where a line is too long), and the lines shared out among pages of the
// body's height.
#pragma once

#include <QFont>
#include <QPoint>
#include <QSize>
#include <QString>

#include <memory>
#include <vector>

class QPainter;
class QPaintDevice;
class QTextLayout;

namespace yomi6 {

class Pagination {
public:
    // text has '\n' between lines; font is the body font as the device uses it; body is the
    // size of the body area in the device's units. Every page holds at least one line, so a
    // body lower than one line still makes progress.
    Pagination(const QString& text, const QFont& font, const QPaintDevice* device, QSize body);
    ~Pagination();
    Pagination(const Pagination&) = delete;
    Pagination& operator=(const Pagination&) = delete;

    // At least 1: an empty text prints one page.
    int PageCount() const { return static_cast<int>(m_pageFirstLine.size()); }

    // The text position of the first character on page (from 1).
    int PageStart(int page) const;

    // The page (from 1) that holds the text position: the last page whose start is not after
    // it.
    int PageOf(int position) const;

    // Draws the lines of page (from 1) with the body's top-left corner at topLeft.
    void DrawPage(QPainter& painter, int page, QPoint topLeft) const;

private:
    struct Line {
        int layout; // index into m_layouts
        int line;   // line number within that layout
        int start;  // text position of its first character
        qreal y;    // top of the line within its page's body
    };

    std::vector<std::unique_ptr<QTextLayout>> m_layouts; // one per line or piece of a line
    std::vector<Line> m_lines;
    std::vector<int> m_pageFirstLine; // index into m_lines of each page's first line
};

} // namespace yomi6
