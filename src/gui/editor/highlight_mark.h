// One part of the speech highlight as an extra selection: the text view and the reading pane
// mark the unit being heard and its word the same way.
#pragma once

#include <QColor>
#include <QTextEdit>

class QTextDocument;

namespace yomi6 {

// Characters [begin, end) of document in background, tagged part ("unit" or "word") in the
// format's user property so that tests and the pane can tell the parts apart. The caret and the
// user's selection are not touched.
QTextEdit::ExtraSelection HighlightMark(QTextDocument* document, int begin, int end,
                                        const char* part, const QColor& background);

} // namespace yomi6
