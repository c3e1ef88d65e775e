// A document: a text file (or a new, untitled text) shown in one or more views. The views show
// one text (one QTextDocument, so one undo history and one modified state) and one speech
// highlight; each view has its own caret, selection, scroll position, word wrap and font.
#pragma once

#include "editor/document_io.h"
#include "speaking/highlight_schedule.h"

#include <QObject>
#include <QString>

#include <vector>

class QTextDocument;
class QWidget;

namespace yomi6 {

class AppContext;
class TextView;

// Where a file dialog starts for a document whose file is path (empty: none yet): that file's
// folder; else the folder of the file the run opened or saved last; else the home folder. Not
// the folder the program runs in, which may be where it keeps its data.
QString DialogFolder(const AppContext& context, const QString& path);

class Document : public QObject, public SpeechListener {
    Q_OBJECT
public:
    // The document belongs to the run of context, which outlives it.
    explicit Document(AppContext& context, QObject* parent = nullptr);

    // What the run shares between its windows (the views reach it through their document).
    AppContext& Context() const { return m_context; }

    // A new empty document titled "無題N".
    void InitializeUntitled(int untitledNumber);
    // Reads path into the document's text. On failure shows why (with dialogParent) and
    // returns false; the document is then not opened.
    bool LoadFromFile(const QString& path, QWidget* dialogParent);
    // Save: to the document's file, or through the save dialog when it has none.
    bool DoFileSave(QWidget* dialogParent);
    // Save As: asks for a name and saves there.
    bool DoSaveAs(QWidget* dialogParent);
    // When the document was modified, asks whether to save it first. False: the user cancelled
    // (or the save failed), and whatever was about to close must stay open.
    bool SaveModified(QWidget* dialogParent);

    const QString& PathName() const { return m_path; }
    // The file a save dialog for this document offers: its name with extension (".txt",
    // ".wav") in the folder DialogFolder gives.
    QString DialogPath(const QString& extension) const;
    const QString& Title() const { return m_title; }
    const DocumentFormat& Format() const { return m_format; }
    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified);

    // The text as it stands, with '\n' between lines and every other character as typed
    // (unlike toPlainText(), which turns no-break spaces into blanks and line separators into
    // breaks).
    QString Text() const;
    // The text every view of the document shows and edits. Owned by the document, which
    // outlives its views.
    QTextDocument* TextDocument() const { return m_text; }

    const std::vector<TextView*>& Views() const { return m_views; }
    void AddView(TextView* view);
    void RemoveView(TextView* view);

    // The views share one layout of the text, so one wrap mode and font at a time: those of
    // the view activated last. Another view shows the text laid out for that one until it is
    // activated itself. (The wrap width is the layout's own: the first view's, or a wider
    // view's.)
    void SetLayoutView(TextView* view);
    // Lays the text out for the layout view again, after another view changed the layout (its
    // wrap mode or font).
    void FitLayout();

    // The speech highlight all views of the document show: characters [unitBegin, unitEnd)
    // are being heard, inside the word [wordBegin, wordEnd); all -1 when nothing is.
    struct Highlight {
        int unitBegin = -1;
        int unitEnd = -1;
        int wordBegin = -1;
        int wordEnd = -1;
    };
    const Highlight& SpeechHighlight() const { return m_highlight; }
    // A unit of a reading that one of the document's views started is heard: every view shows
    // it, and speechUnitHeard passes it on.
    void UnitHeard(const yomi6::SpeechHighlight& unit) override;

signals:
    void titleChanged();
    void modifiedChanged(bool modified);
    void formatChanged();
    // A unit of the document's reading is heard now (every field -1: nothing is any more).
    void speechUnitHeard(const yomi6::SpeechHighlight& unit);

private:
    bool SaveTo(const QString& path, QWidget* dialogParent);
    void ShowHighlightInViews();

    AppContext& m_context;
    QString m_path;
    QString m_title;
    DocumentFormat m_format;
    bool m_modified = false;
    QTextDocument* m_text;
    std::vector<TextView*> m_views;
    TextView* m_layoutView = nullptr;
    Highlight m_highlight;
    const QObject* m_highlightOwner = nullptr; // the view whose speech m_highlight shows
};

} // namespace yomi6
