#include "editor/reading_places.h"

#include "editor/document.h"
#include "places/places_file.h"

#include <QFileInfo>

#include <algorithm>

#include <string_view>

namespace yomi6 {

namespace {

std::u16string_view View(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

} // namespace

ReadingPlaces::ReadingPlaces(const std::string& path, QObject* parent)
    : QObject(parent), m_path(path) {
    if (m_path.empty()) {
        return;
    }
    PlacesLoad load = LoadPlaces(m_path);
    m_book = std::move(load.book);
    if (load.broken) {
        m_loadProblem =
            QStringLiteral("読んだ位置としおりのﾌｧｲﾙ %1 を読めませんでした (%2)。新しく始めます。")
                .arg(QString::fromStdString(m_path), QString::fromStdString(load.reason));
        if (!load.keptAs.empty()) {
            m_loadProblem += QStringLiteral("元のﾌｧｲﾙは %1 に残しました。")
                                 .arg(QString::fromStdString(load.keptAs));
        }
    }
}

ReadingPlaces::ReadingPlaces(QObject* parent) : ReadingPlaces(PlacesPath(), parent) {}

std::string ReadingPlaces::Key(const Document* document) {
    if (document == nullptr || document->PathName().isEmpty()) {
        return {};
    }
    const QString canonical = QFileInfo(document->PathName()).canonicalFilePath();
    return (canonical.isEmpty() ? document->PathName() : canonical).toStdString();
}

void ReadingPlaces::Watch(Document* document) {
    connect(document, &QObject::destroyed, this, [this, document] { m_heard.remove(document); });
    connect(document, &Document::speechUnitHeard, this,
            [this, document](const SpeechHighlight& unit) {
                if (unit.unitBegin >= 0) {
                    m_heard.insert(document, unit.unitBegin);
                } else {
                    Keep(document);
                }
            });
}

void ReadingPlaces::Closing(Document* document) {
    Keep(document);
}

void ReadingPlaces::Keep(Document* document) {
    const auto heard = m_heard.find(document);
    if (heard == m_heard.end()) {
        return;
    }
    const int position = heard.value();
    m_heard.erase(heard);
    const std::string key = Key(document);
    if (key.empty()) {
        return;
    }
    const QString text = document->Text();
    m_book.KeepLast(key, View(text), static_cast<std::size_t>(position));
    Save();
    emit placesChanged(document);
}

std::optional<int> ReadingPlaces::LastPlace(const Document* document) const {
    const std::string key = Key(document);
    if (key.empty()) {
        return std::nullopt;
    }
    const QString text = document->Text();
    const auto places = m_book.PlacesIn(key, View(text));
    if (!places || !places->last) {
        return std::nullopt;
    }
    return static_cast<int>(places->last->position);
}

std::vector<std::pair<QString, int>> ReadingPlaces::Bookmarks(const Document* document) const {
    std::vector<std::pair<QString, int>> marks;
    const std::string key = Key(document);
    if (key.empty()) {
        return marks;
    }
    const QString text = document->Text();
    if (const auto places = m_book.PlacesIn(key, View(text))) {
        for (const Bookmark& mark : places->bookmarks) {
            marks.emplace_back(QString::fromStdU16String(mark.name),
                               static_cast<int>(mark.place.position));
        }
    }
    return marks;
}

bool ReadingPlaces::AddBookmark(const Document* document, const QString& name, int position) {
    const std::string key = Key(document);
    if (key.empty()) {
        return false;
    }
    const QString text = document->Text();
    m_book.AddBookmark(key, View(text), name.toStdU16String(),
                       static_cast<std::size_t>(std::max(position, 0)));
    Save();
    emit placesChanged(document);
    return true;
}

void ReadingPlaces::RemoveBookmark(const Document* document, int index) {
    const std::string key = Key(document);
    if (key.empty() || index < 0) {
        return;
    }
    const QString text = document->Text();
    m_book.RemoveBookmark(key, View(text), static_cast<std::size_t>(index));
    Save();
    emit placesChanged(document);
}

void ReadingPlaces::Save() {
    if (m_path.empty()) {
        return;
    }
    std::string error;
    if (!SavePlaces(m_path, m_book, error)) {
        emit problem(QStringLiteral("読んだ位置としおりを保存できませんでした: %1")
                         .arg(QString::fromStdString(error)));
    }
}

} // namespace yomi6
