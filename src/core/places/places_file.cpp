#include "places/places_file.h"

#include "io/atomic_file.h"
#include "settings/settings_path.h"
#include "text/utf8_codec.h"

#include <charconv>
#include <cstdio>
#include <span>
#include <vector>

namespace yomi6 {

namespace {

constexpr std::string_view kHeader = "yomi6 places 1";
constexpr std::size_t kMaxFileBytes = 4 << 20;

std::string Escaped(std::string_view field) {
    std::string out;
    for (const char c : field) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

bool Unescaped(std::string_view field, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\') {
            out += field[i];
            continue;
        }
        if (++i == field.size()) {
            return false;
        }
        switch (field[i]) {
        case '\\':
            out += '\\';
            break;
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        default:
            return false;
        }
    }
    return true;
}

std::string Utf8(std::u16string_view text) {
    EncodeOptions options;
    options.lineEnd = LineEnd::Lf;
    options.onUnencodable = OnUnencodable::Replace;
    return Escaped(EncodeUtf8(text, options).bytes);
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (std::size_t tab = line.find('\t'); tab != std::string_view::npos;
         tab = line.find('\t', start)) {
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

template <class Number> bool ParseNumber(std::string_view text, Number& value, int base = 10) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

void AppendPlace(std::string& out, const ReadingPlace& place) {
    out += std::to_string(place.position) + '\t' + Utf8(place.before) + '\t' + Utf8(place.after);
}

bool ParsePlace(std::span<const std::string_view> fields, ReadingPlace& place) {
    std::string before;
    std::string after;
    if (fields.size() != 3 || !ParseNumber(fields[0], place.position) ||
        !Unescaped(fields[1], before) || !Unescaped(fields[2], after)) {
        return false;
    }
    place.before = DecodeUtf8(before);
    place.after = DecodeUtf8(after);
    return true;
}

} // namespace

std::string PlacesPath() {
    // The voices' folder lies in the program's data folder.
    std::string folder = VoicesDirectory();
    if (folder.empty()) {
        return {};
    }
    folder.erase(folder.rfind('/') + 1);
    return folder + "places.txt";
}

std::string PlacesText(const PlaceBook& book) {
    std::string out(kHeader);
    out += '\n';
    for (const FilePlaces& file : book.Files()) {
        char hash[17];
        std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(file.hash));
        out += "file\t" + Escaped(file.path) + '\t' + hash + '\n';
        if (file.last) {
            out += "last\t";
            AppendPlace(out, *file.last);
            out += '\n';
        }
        for (const Bookmark& mark : file.bookmarks) {
            out += "mark\t" + Utf8(mark.name) + '\t';
            AppendPlace(out, mark.place);
            out += '\n';
        }
    }
    return out;
}

bool ParsePlaces(std::string_view text, PlaceBook& book, std::string& error) {
    std::vector<FilePlaces> files;
    std::size_t lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        const auto wrong = [&error, lineNumber] {
            error = "line " + std::to_string(lineNumber) + " is not a place";
            return false;
        };
        if (lineNumber == 1) {
            if (line != kHeader) {
                error = "it does not start with \"" + std::string(kHeader) + "\"";
                return false;
            }
            continue;
        }
        const std::vector<std::string_view> fields = Fields(line);
        const std::span<const std::string_view> rest(fields.begin() + 1, fields.end());
        if (fields[0] == "file") {
            FilePlaces file;
            if (fields.size() != 3 || !Unescaped(fields[1], file.path) || file.path.empty() ||
                !ParseNumber(fields[2], file.hash, 16)) {
                return wrong();
            }
            files.push_back(std::move(file));
        } else if (fields[0] == "last" && !files.empty() && !files.back().last) {
            ReadingPlace place;
            if (!ParsePlace(rest, place)) {
                return wrong();
            }
            files.back().last = std::move(place);
        } else if (fields[0] == "mark" && !files.empty() && fields.size() == 5) {
            Bookmark mark;
            std::string name;
            if (!Unescaped(fields[1], name) || !ParsePlace(rest.subspan(1), mark.place)) {
                return wrong();
            }
            mark.name = DecodeUtf8(name);
            files.back().bookmarks.push_back(std::move(mark));
        } else {
            return wrong();
        }
    }
    if (lineNumber == 0) {
        error = "it is empty";
        return false;
    }
    book.SetFiles(std::move(files));
    return true;
}

PlacesLoad LoadPlaces(const std::string& path) {
    PlacesLoad load;
    std::string bytes;
    const ReadStatus status = ReadWholeFile(path, kMaxFileBytes, bytes);
    if (status == ReadStatus::Missing) {
        return load;
    }
    if (status == ReadStatus::Unreadable) {
        load.reason = "it cannot be read";
    } else if (status == ReadStatus::TooLarge) {
        load.reason = "it is too large";
    } else if (ParsePlaces(bytes, load.book, load.reason)) {
        return load;
    }
    load.book = PlaceBook();
    load.broken = true;
    const std::string aside = path + ".bad";
    if (std::rename(path.c_str(), aside.c_str()) == 0) {
        load.keptAs = aside;
    }
    return load;
}

bool SavePlaces(const std::string& path, const PlaceBook& book, std::string& error) {
    return WriteFileAtomically(path, PlacesText(book), error, MissingDirectories::Create);
}

} // namespace yomi6
