#include "editor/text_search.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

namespace yomi6 {

namespace {

QTextDocument::FindFlags Flags(const SearchOptions& o, bool backward) {
    QTextDocument::FindFlags flags;
    if (o.matchCase) {
        flags |= QTextDocument::FindCaseSensitively;
    }
    if (o.wholeWord) {
        flags |= QTextDocument::FindWholeWords;
    }
    if (backward) {
        flags |= QTextDocument::FindBackward;
    }
    return flags;
}

bool SelectionMatches(const QPlainTextEdit& edit, const SearchOptions& o) {
    const QTextCursor c = edit.textCursor();
    if (!c.hasSelection()) {
        return false;
    }
    // Search the selection's own start: a match there that ends where the selection ends is it.
    QTextCursor from(edit.document());
    from.setPosition(c.selectionStart());
    const QTextCursor found = edit.document()->find(o.text, from, Flags(o, false));
    return !found.isNull() && found.selectionStart() == c.selectionStart() &&
           found.selectionEnd() == c.selectionEnd();
}

} // namespace

bool FindNext(QPlainTextEdit& edit, const SearchOptions& options) {
    if (options.text.isEmpty()) {
        return false;
    }
    const QTextCursor found =
        edit.document()->find(options.text, edit.textCursor(), Flags(options, options.backward));
    if (found.isNull()) {
        return false;
    }
    edit.setTextCursor(found);
    return true;
}

bool ReplaceOne(QPlainTextEdit& edit, const SearchOptions& options, const QString& replacement) {
    if (options.text.isEmpty()) {
        return false;
    }
    if (SelectionMatches(edit, options)) {
        QTextCursor c = edit.textCursor();
        c.insertText(replacement);
        edit.setTextCursor(c);
    }
    SearchOptions forward = options;
    forward.backward = false;
    return FindNext(edit, forward);
}

int ReplaceAll(QPlainTextEdit& edit, const SearchOptions& options, const QString& replacement) {
    if (options.text.isEmpty()) {
        return 0;
    }
    QTextDocument* doc = edit.document();
    QTextCursor editBlock(doc);
    editBlock.beginEditBlock();
    int count = 0;
    QTextCursor at(doc);
    for (;;) {
        QTextCursor found = doc->find(options.text, at, Flags(options, false));
        if (found.isNull()) {
            break;
        }
        found.insertText(replacement);
        at = found; // continue behind the replacement: it is never searched again
        ++count;
    }
    editBlock.endEditBlock();
    return count;
}

} // namespace yomi6
