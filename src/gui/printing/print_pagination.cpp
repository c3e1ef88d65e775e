#include "printing/print_pagination.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <vector>

namespace yomi6 {

namespace {

// Tab stops every eight blanks, as the edit control sets them.
constexpr int kTabWidthInBlanks = 8;

// Characters of a long line laid out at once: many printed lines' worth.
constexpr qsizetype kPieceLength = 4096;

} // namespace

Pagination::Pagination(const QString& text, const QFont& font, const QPaintDevice* device,
                       QSize body) {
    const QFontMetricsF metrics(font, device);
    const qreal pitch = metrics.lineSpacing();
    const qreal width = std::max(1, body.width());
    const qreal height = std::max(1, body.height());

    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setTabStopDistance(metrics.horizontalAdvance(QLatin1Char(' ')) * kTabWidthInBlanks);

    qreal y = 0;
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0) {
            end = text.size();
        }
        // A long line is laid out a piece at a time: finding where a printed line ends looks
        // ahead to the next word boundary, which in a line without blanks is its end, so one
        // layout of the whole line would cost time in the square of its length. Every piece's
        // last printed line may have been cut by the piece's end; it is laid out again as the
        // start of the next piece, so the lines come out as one layout would give them.
        qsizetype pieceLength = kPieceLength;
        qsizetype pos = start;
        for (;;) {
            const qsizetype pieceEnd = std::min(end, pos + pieceLength);
            const bool last = pieceEnd == end;
            auto layout =
                std::make_unique<QTextLayout>(text.mid(pos, pieceEnd - pos), font, device);
            layout->setTextOption(option);
            layout->setCacheEnabled(true);
            std::vector<QTextLine> made;
            layout->beginLayout();
            for (;;) {
                QTextLine line = layout->createLine();
                if (!line.isValid()) {
                    break;
                }
                line.setLineWidth(width);
                line.setPosition(QPointF(0, 0));
                made.push_back(line);
            }
            layout->endLayout();
            if (!last && made.size() < 2) {
                pieceLength *= 2; // one printed line longer than the piece: a larger piece
                continue;
            }
            const std::size_t kept = last ? made.size() : made.size() - 1;
            const int index = static_cast<int>(m_layouts.size());
            for (std::size_t n = 0; n < kept; ++n) {
                const qreal lineHeight = std::max(pitch, made[n].height());
                // A new page when this line would reach below the body, unless the page is
                // still empty.
                if (m_pageFirstLine.empty() ||
                    (y + lineHeight > height &&
                     static_cast<int>(m_lines.size()) > m_pageFirstLine.back())) {
                    m_pageFirstLine.push_back(static_cast<int>(m_lines.size()));
                    y = 0;
                }
                m_lines.push_back(Line{index, static_cast<int>(n),
                                       static_cast<int>(pos) + made[n].textStart(), y});
                y += lineHeight;
            }
            m_layouts.push_back(std::move(layout));
            if (last) {
                break;
            }
            pos += made.back().textStart();
        }
        start = end + 1;
    }
}

Pagination::~Pagination() = default;

int Pagination::PageStart(int page) const {
    const int p = std::clamp(page, 1, PageCount());
    return m_lines[static_cast<std::size_t>(m_pageFirstLine[static_cast<std::size_t>(p - 1)])]
        .start;
}

int Pagination::PageOf(int position) const {
    // Page starts grow strictly: the page is the number of pages that start at or before it.
    const auto after = std::upper_bound(
        m_pageFirstLine.begin() + 1, m_pageFirstLine.end(), position,
        [this](int pos, int line) { return pos < m_lines[static_cast<std::size_t>(line)].start; });
    return static_cast<int>(after - m_pageFirstLine.begin());
}

void Pagination::DrawPage(QPainter& painter, int page, QPoint topLeft) const {
    if (page < 1 || page > PageCount()) {
        return;
    }
    const auto first =
        static_cast<std::size_t>(m_pageFirstLine[static_cast<std::size_t>(page - 1)]);
    const auto last =
        page < PageCount()
            ? static_cast<std::size_t>(m_pageFirstLine[static_cast<std::size_t>(page)])
            : m_lines.size();
    for (std::size_t i = first; i < last; ++i) {
        const Line& l = m_lines[i];
        const QTextLine line = m_layouts[static_cast<std::size_t>(l.layout)]->lineAt(l.line);
        line.draw(&painter, QPointF(topLeft.x(), topLeft.y() + l.y));
    }
}

} // namespace yomi6
