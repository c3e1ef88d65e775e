// The しおり dialog: the bookmarks of the active document's file, each with its line, to jump
// to (移動, a double click or Enter) or delete (削除). It stays open beside the text and follows
// the places as they change.
#pragma once

#include <QDialog>
#include <QPointer>

#include <functional>

class QListWidget;
class QPushButton;

namespace yomi6 {

class Document;
class ReadingPlaces;

class BookmarksDialog : public QDialog {
    Q_OBJECT
public:
    // The bookmarks of document in places; jump puts the caret at a position of the text.
    BookmarksDialog(ReadingPlaces& places, Document* document, std::function<void(int)> jump,
                    QWidget* parent);

    QListWidget* List() const { return m_list; }
    QPushButton* JumpButton() const { return m_jump; }
    QPushButton* DeleteButton() const { return m_delete; }

private:
    void Fill();
    void JumpToCurrent();
    void DeleteCurrent();

    ReadingPlaces& m_places;
    QPointer<Document> m_document;
    std::function<void(int)> m_jumpTo;
    std::vector<int> m_positions; // of the listed bookmarks
    QListWidget* m_list;
    QPushButton* m_jump;
    QPushButton* m_delete;
};

} // namespace yomi6
