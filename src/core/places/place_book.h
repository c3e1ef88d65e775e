// Where the user stopped reading each file and the bookmarks (しおり) they put in it, kept for
// the next run: one record per file, by its canonical path, with the hash of the text the places
// were taken in. The book is written to one small file (places_file.h).
#pragma once

#include "places/reading_place.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace yomi6 {

struct Bookmark {
    std::u16string name;
    ReadingPlace place;
    bool operator==(const Bookmark&) const = default;
};

struct FilePlaces {
    std::string path;                 // canonical
    std::uint64_t hash = 0;           // ContentHash of the text the places were taken in
    std::optional<ReadingPlace> last; // where reading stopped
    std::vector<Bookmark> bookmarks;  // in the order they were put in
    bool operator==(const FilePlaces&) const = default;
};

class PlaceBook {
public:
    // The most files kept (the ones used longest ago go first) and bookmarks per file.
    static constexpr std::size_t kMaxFiles = 200;
    static constexpr std::size_t kMaxBookmarks = 20;

    // The record of path, or nullptr.
    const FilePlaces* Find(std::string_view path) const;
    // The places of path as they fit text now (a changed text drops what no longer fits), with
    // their positions in text; nothing when the book has no record of path.
    std::optional<FilePlaces> PlacesIn(std::string_view path, std::u16string_view text) const;

    // Keeps position as where reading stopped in path's text; the file's bookmarks are taken
    // over into text (those that no longer fit go). The file becomes the most recent.
    void KeepLast(const std::string& path, std::u16string_view text, std::size_t position);
    // Adds a bookmark named name at position of path's text (a full list drops its oldest).
    void AddBookmark(const std::string& path, std::u16string_view text, std::u16string name,
                     std::size_t position);
    // Removes bookmark index of path (nothing for an index it does not have).
    void RemoveBookmark(const std::string& path, std::u16string_view text, std::size_t index);

    const std::vector<FilePlaces>& Files() const { return m_files; }
    // The records as read from a file, most recent first; the limits are applied.
    void SetFiles(std::vector<FilePlaces> files);

private:
    // path's record brought to text and made the most recent (created if missing).
    FilePlaces& Record(const std::string& path, std::u16string_view text);

    std::vector<FilePlaces> m_files; // most recent first
};

} // namespace yomi6
