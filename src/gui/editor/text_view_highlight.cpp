// The speech highlight of the text view: the unit being heard and its word in background
// colours of their own (extra selections, so the caret and the selection stay the user's), the
// view scrolled to keep them in sight. Each part is tagged "unit" or "word" in its format.
#include "editor/highlight_mark.h"
#include "editor/text_view.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>

namespace yomi6 {

namespace {

const QColor kUnitBackground(0xff, 0xc8, 0x50); // the unit being heard
const QColor kWordBackground(0xff, 0xee, 0xc4); // the rest of its word
constexpr qint64 kUserScrollPauseMs = 4000;     // the user's own scrolling wins for this long

} // namespace

void TextView::ShowSpeechHighlight(int unitBegin, int unitEnd, int wordBegin, int wordEnd) {
    QTextDocument* doc = document();
    const int last = doc->characterCount() - 1;
    if (unitBegin < 0 || unitBegin > last) {
        setExtraSelections({});
        return;
    }
    unitEnd = std::clamp(unitEnd, unitBegin, last);
    wordBegin = std::clamp(wordBegin, 0, unitBegin);
    wordEnd = std::clamp(wordEnd, unitEnd, last);
    QList<QTextEdit::ExtraSelection> selections;
    if (wordBegin < unitBegin) {
        selections.append(HighlightMark(doc, wordBegin, unitBegin, "word", kWordBackground));
    }
    selections.append(HighlightMark(doc, unitBegin, unitEnd, "unit", kUnitBackground));
    if (unitEnd < wordEnd) {
        selections.append(HighlightMark(doc, unitEnd, wordEnd, "word", kWordBackground));
    }
    setExtraSelections(selections);
    KeepInView(unitBegin, unitEnd);
}

void TextView::KeepInView(int begin, int end) {
    if (m_userScrolled.isValid() && m_userScrolled.elapsed() < kUserScrollPauseMs) {
        return;
    }
    QTextCursor at(document());
    at.setPosition(begin);
    const QRect rect = cursorRect(at);
    m_scrollingForSpeech = true;
    if (rect.top() < 0 || rect.bottom() > viewport()->height()) {
        // The scroll bar counts lines: the line of begin, placed a third down the view.
        const QTextBlock block = at.block();
        int line = block.firstLineNumber();
        if (const QTextLayout* layout = block.layout();
            layout != nullptr && layout->lineCount() > 0) {
            line += layout->lineForTextPosition(begin - block.position()).lineNumber();
        }
        const int visibleLines = std::max(1, viewport()->height() / fontMetrics().lineSpacing());
        verticalScrollBar()->setValue(std::max(0, line - visibleLines / 3));
    }
    // A line that is not wrapped runs on past the right edge: the view follows the unit
    // sideways too (the scroll bar counts pixels), the unit placed a third in from the left.
    QScrollBar* sideways = horizontalScrollBar();
    if (!IsWordWrap() && sideways->maximum() > 0) {
        QTextCursor after(document());
        after.setPosition(std::max(begin, end));
        const QRect last = cursorRect(after);
        const int right = last.top() == rect.top() ? last.right() : rect.right();
        const int width = viewport()->width();
        if (rect.left() < 0 || right > width) {
            sideways->setValue(sideways->value() + rect.left() - width / 3);
        }
    }
    m_scrollingForSpeech = false;
}

} // namespace yomi6
