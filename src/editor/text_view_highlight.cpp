// The speech highlight of the text view: the unit being heard and its word in background
// colours of their own (extra selections, so the caret and the selection stay the user's), the
// view scrolled to keep them in sight. Each part is tagged "unit" or "word" in its format.
#include "editor/highlight_mark.h"
#include "editor/text_view.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

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
    KeepInView(unitBegin);
}

void TextView::KeepInView(int position) {
    if (m_userScrolled.isValid() && m_userScrolled.elapsed() < kUserScrollPauseMs) {
        return;
    }
    QTextCursor at(document());
    at.setPosition(position);
    const QRect rect = cursorRect(at);
    if (rect.top() >= 0 && rect.bottom() <= viewport()->height()) {
        return;
    }
    // The scroll bar counts lines: the line of position, placed a third down the view.
    const QTextBlock block = at.block();
    int line = block.firstLineNumber();
    if (const QTextLayout* layout = block.layout(); layout != nullptr && layout->lineCount() > 0) {
        line += layout->lineForTextPosition(position - block.position()).lineNumber();
    }
    const int visibleLines = std::max(1, viewport()->height() / fontMetrics().lineSpacing());
    m_scrollingForSpeech = true;
    verticalScrollBar()->setValue(std::max(0, line - visibleLines / 3));
    m_scrollingForSpeech = false;
}

} // namespace yomi6
