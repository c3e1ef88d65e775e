#include "app/window_tiling.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace yomi6 {

void TileWindows(QMdiArea& area, bool oneAboveTheOther) {
    QList<QMdiSubWindow*> windows;
    bool anyMinimized = false;
    for (QMdiSubWindow* w : area.subWindowList(QMdiArea::StackingOrder)) {
        if (w->isMinimized()) {
            anyMinimized = true;
        } else if (w->isVisible()) {
            windows.append(w);
        }
    }
    if (windows.isEmpty()) {
        return;
    }
    QRect space = area.viewport()->rect();
    if (anyMinimized) {
        // Leave a row at the bottom for the minimized windows.
        space.setBottom(space.bottom() - windows.front()->minimumSizeHint().height());
    }
    const auto n = static_cast<int>(windows.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow* w = windows.at(i);
        if (w->isMaximized()) {
            w->showNormal();
        }
        QRect r;
        if (oneAboveTheOther) {
            const int top = space.top() + space.height() * i / n;
            const int bottom = space.top() + space.height() * (i + 1) / n;
            r = QRect(space.left(), top, space.width(), bottom - top);
        } else {
            const int left = space.left() + space.width() * i / n;
            const int right = space.left() + space.width() * (i + 1) / n;
            r = QRect(left, space.top(), right - left, space.height());
        }
        w->setGeometry(r);
    }
    ArrangeIcons(area);
}

void ArrangeIcons(QMdiArea& area) {
    int x = 0;
    const int bottom = area.viewport()->height();
    for (QMdiSubWindow* w : area.subWindowList(QMdiArea::CreationOrder)) {
        if (!w->isMinimized()) {
            continue;
        }
        const QSize size = w->size();
        w->move(x, bottom - size.height());
        x += size.width();
    }
}

} // namespace yomi6
