#include "platform/dialog_units.h"

#include <QFontMetrics>
#include <QStringList>

namespace yomi6 {

QFont DialogFont(int pointSize) {
    QFont font;
    // Families tried in order; the first installed one is used.
    font.setFamilies(QStringList{QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAPGothic"),
                                 QStringLiteral("VL PGothic"), QStringLiteral("Sans Serif")});
    font.setPointSize(pointSize);
    return font;
}

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics fm(font);
    // The average width of the 52 Latin letters, as the window system measures a dialog font.
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    m_baseX = (fm.horizontalAdvance(letters) / 26 + 1) / 2;
    m_baseY = fm.height();
}

int DialogUnits::X(int units) const {
    return (units * m_baseX + 2) / 4;
}
int DialogUnits::Y(int units) const {
    return (units * m_baseY + 4) / 8;
}

QRect DialogUnits::ToPixels(const QRect& units) const {
    return {X(units.x()), Y(units.y()), X(units.width()), Y(units.height())};
}

QSize DialogUnits::ToPixels(const QSize& units) const {
    return {X(units.width()), Y(units.height())};
}

} // namespace yomi6
