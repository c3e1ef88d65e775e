// The file that keeps the place book between runs: "places.txt" in the user's data folder
// ($XDG_DATA_HOME/yomi6/, else ~/.local/share/yomi6/), UTF-8 lines of tab-separated fields,
// written whole and atomically. A file that cannot be read as one is set aside and the book
// starts empty, with a message that says so.
#pragma once

#include "places/place_book.h"

#include <string>
#include <string_view>

namespace yomi6 {

// The file's path; empty when no home folder can be found.
std::string PlacesPath();

// The file's text for book, and the book of such a text (false, with the line that is wrong
// in error, for a text that is not one).
std::string PlacesText(const PlaceBook& book);
bool ParsePlaces(std::string_view text, PlaceBook& book, std::string& error);

struct PlacesLoad {
    PlaceBook book;
    bool broken = false; // the file was there but is not a place book
    std::string reason;  // what was wrong with it
    std::string keptAs;  // where it was set aside; empty when it could not be
};
// Reads the book at path. A file that is not a place book (or cannot be read) is renamed to
// path + ".bad" so that the next write does not lose it, and the book starts empty.
PlacesLoad LoadPlaces(const std::string& path);
// Writes book to path atomically; false with the reason in error.
bool SavePlaces(const std::string& path, const PlaceBook& book, std::string& error);

} // namespace yomi6
