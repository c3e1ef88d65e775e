// Where reading stopped in each file, and its bookmarks (しおり), for the main window: the
// place book read from its file at the start, each change written back at once. A document's
// place is the last unit heard in it, kept when its reading ends and when it closes; a file
// opened again offers its place (続きから読む) where it still fits the text.
#pragma once

#include "places/place_book.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace yomi6 {

class Document;

class ReadingPlaces : public QObject {
    Q_OBJECT
public:
    // The book kept in the file at path (empty: nothing is kept between runs).
    ReadingPlaces(const std::string& path, QObject* parent);
    // The book kept in the user's data folder (places_file.h).
    explicit ReadingPlaces(QObject* parent);

    // What was wrong with the file when it was read, for the user; empty when nothing was.
    const QString& LoadProblem() const { return m_loadProblem; }

    // Follows what is heard of document's readings; its place is kept when a reading ends.
    void Watch(Document* document);
    // The document is closing: the place heard last in it is kept.
    void Closing(Document* document);

    // Where reading stopped in document's file, as it fits the text now.
    std::optional<int> LastPlace(const Document* document) const;
    // The bookmarks of document's file that fit its text now: name and position.
    std::vector<std::pair<QString, int>> Bookmarks(const Document* document) const;
    // Bookmarks in document's file; false for a document without a file.
    bool AddBookmark(const Document* document, const QString& name, int position);
    void RemoveBookmark(const Document* document, int index);

signals:
    // The places of document's file changed (a place kept, a bookmark added or removed).
    void placesChanged(const yomi6::Document* document);
    // The file could not be written: why, for the status bar.
    void problem(const QString& message);

private:
    // The key of document's file (its canonical path, UTF-8); empty for a document without one.
    static std::string Key(const Document* document);
    void Keep(Document* document);
    void Save();

    std::string m_path;
    PlaceBook m_book;
    QString m_loadProblem;
    // The unit heard last in each document whose reading has not been kept yet.
    QHash<const Document*, int> m_heard;
};

} // namespace yomi6
