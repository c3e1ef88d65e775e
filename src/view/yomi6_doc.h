// A document: a text file (or a new, untitled text) shown in one or more views.
#pragma once

#include "view/document_io.h"

#include <QObject>
#include <QString>

#include <vector>

class QWidget;

namespace yomi6 {

class CYOMI5View;

class CYOMI5Doc : public QObject {
    Q_OBJECT
public:
    explicit CYOMI5Doc(QObject* parent = nullptr);

    // A new empty document titled "無題N".
    void OnNewDocument(int untitledNumber);
    // Reads path into the document's text. On failure shows why (with dialogParent) and
    // returns false; the document is then not opened.
    bool OnOpenDocument(const QString& path, QWidget* dialogParent);
    // Save: to the document's file, or through the save dialog when it has none.
    bool DoFileSave(QWidget* dialogParent);
    // Save As: asks for a name and saves there.
    bool DoSaveAs(QWidget* dialogParent);
    // When the document was modified, asks whether to save it first. False: the user cancelled
    // (or the save failed), and whatever was about to close must stay open.
    bool SaveModified(QWidget* dialogParent);

    const QString& PathName() const { return m_path; }
    const QString& Title() const { return m_title; }
    const DocumentFormat& Format() const { return m_format; }
    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified);

    // The text as it stands, from the first view.
    QString Text() const;

    const std::vector<CYOMI5View*>& Views() const { return m_views; }
    void AddView(CYOMI5View* view);
    void RemoveView(CYOMI5View* view);

signals:
    void titleChanged();
    void modifiedChanged(bool modified);
    void formatChanged();

private:
    bool SaveTo(const QString& path, QWidget* dialogParent);
    // Mirrors an edit made in one view into the document's other views.
    void MirrorChange(CYOMI5View* from, int position, int removed, int added);

    QString m_path;
    QString m_title;
    QString m_loadedText; // the text read by OnOpenDocument, until the first view takes it
    DocumentFormat m_format;
    bool m_modified = false;
    bool m_mirroring = false;
    std::vector<CYOMI5View*> m_views;
};

} // namespace yomi6
