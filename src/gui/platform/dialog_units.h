// Dialog units: dialog layouts are given in units of the dialog font (a quarter of the average
// character width horizontally, an eighth of the character height vertically) and converted to
// pixels through that font's metrics.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

namespace yomi6 {

// The dialog font of the program's dialogs at the given point size: a Japanese proportional
// gothic face where one is installed.
QFont DialogFont(int pointSize);

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int X(int units) const;
    int Y(int units) const;
    QRect ToPixels(const QRect& units) const;
    QSize ToPixels(const QSize& units) const;

private:
    int m_baseX; // average character width in pixels
    int m_baseY; // character height in pixels
};

} // namespace yomi6
