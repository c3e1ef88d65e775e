#include "editor/highlight_mark.h"

#include <QTextCursor>

namespace yomi6 {

QTextEdit::ExtraSelection HighlightMark(QTextDocument* document, int begin, int end,
                                        const char* part, const QColor& background) {
    QTextEdit::ExtraSelection selection;
    selection.cursor = QTextCursor(document);
    selection.cursor.setPosition(begin);
    selection.cursor.setPosition(end, QTextCursor::KeepAnchor);
    selection.format.setBackground(background);
    selection.format.setProperty(QTextFormat::UserProperty, QString::fromLatin1(part));
    return selection;
}

} // namespace yomi6
