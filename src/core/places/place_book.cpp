#include "places/place_book.h"

#include <algorithm>
#include <utility>

namespace yomi6 {

namespace {

// The places of record moved into text, whose hash is hash: each where it fits, or gone.
FilePlaces Moved(const FilePlaces& record, std::u16string_view text, std::uint64_t hash) {
    const bool same = record.hash == hash;
    FilePlaces moved{record.path, hash, std::nullopt, {}};
    if (record.last) {
        if (const auto at = FindPlace(*record.last, text, same)) {
            moved.last = PlaceIn(text, *at);
        }
    }
    for (const Bookmark& mark : record.bookmarks) {
        if (const auto at = FindPlace(mark.place, text, same)) {
            moved.bookmarks.push_back({mark.name, PlaceIn(text, *at)});
        }
    }
    return moved;
}

} // namespace

const FilePlaces* PlaceBook::Find(std::string_view path) const {
    const auto it = std::find_if(m_files.begin(), m_files.end(),
                                 [path](const FilePlaces& f) { return f.path == path; });
    return it != m_files.end() ? &*it : nullptr;
}

std::optional<FilePlaces> PlaceBook::PlacesIn(std::string_view path,
                                              std::u16string_view text) const {
    const FilePlaces* record = Find(path);
    if (record == nullptr) {
        return std::nullopt;
    }
    return Moved(*record, text, ContentHash(text));
}

FilePlaces& PlaceBook::Record(const std::string& path, std::u16string_view text) {
    const std::uint64_t hash = ContentHash(text);
    const auto it = std::find_if(m_files.begin(), m_files.end(),
                                 [&path](const FilePlaces& f) { return f.path == path; });
    FilePlaces record =
        it != m_files.end() ? Moved(*it, text, hash) : FilePlaces{path, hash, std::nullopt, {}};
    if (it != m_files.end()) {
        m_files.erase(it);
    }
    m_files.insert(m_files.begin(), std::move(record));
    if (m_files.size() > kMaxFiles) {
        m_files.resize(kMaxFiles);
    }
    return m_files.front();
}

void PlaceBook::KeepLast(const std::string& path, std::u16string_view text, std::size_t position) {
    Record(path, text).last = PlaceIn(text, position);
}

void PlaceBook::AddBookmark(const std::string& path, std::u16string_view text, std::u16string name,
                            std::size_t position) {
    FilePlaces& record = Record(path, text);
    record.bookmarks.push_back({std::move(name), PlaceIn(text, position)});
    if (record.bookmarks.size() > kMaxBookmarks) {
        record.bookmarks.erase(record.bookmarks.begin());
    }
}

void PlaceBook::RemoveBookmark(const std::string& path, std::u16string_view text,
                               std::size_t index) {
    FilePlaces& record = Record(path, text);
    if (index < record.bookmarks.size()) {
        record.bookmarks.erase(record.bookmarks.begin() + static_cast<std::ptrdiff_t>(index));
    }
}

void PlaceBook::SetFiles(std::vector<FilePlaces> files) {
    m_files = std::move(files);
    if (m_files.size() > kMaxFiles) {
        m_files.resize(kMaxFiles);
    }
    for (FilePlaces& f : m_files) {
        if (f.bookmarks.size() > kMaxBookmarks) {
            f.bookmarks.erase(f.bookmarks.begin(),
                              f.bookmarks.end() - static_cast<std::ptrdiff_t>(kMaxBookmarks));
        }
    }
}

} // namespace yomi6
