#include "export/chapter_split.h"

#include "chapters/chapters.h"
#include "export/export_paths.h"
#include "io/atomic_output_file.h"
#include "text/cp932_codec.h"
#include "text/utf8_codec.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace yomi6 {

namespace {

bool IsLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

std::string Utf8Of(std::u16string_view text) {
    return EncodeUtf8(text, EncodeOptions{LineEnd::Lf, OnUnencodable::Replace}).bytes;
}

bool ForbiddenInName(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F ||
           std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos;
}

// A blank, a dot or an ideographic space (U+3000), as UTF-8.
bool TrimmedAtEdge(std::string_view character) {
    return character == " " || character == "." || character == "\xE3\x80\x80";
}

} // namespace

std::vector<ExportPart> ChapterParts(std::string_view text, std::size_t from, std::size_t to) {
    to = std::min(to, text.size());
    from = std::min(from, to);
    // The text as the chapters are found in ('\n' line breaks), with the byte each of its
    // units comes from.
    std::u16string units;
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            continue;
        }
        const std::size_t length = IsLeadByte(b) && i + 1 < text.size() ? 2 : 1;
        for (const char16_t unit : DecodeCp932(text.substr(i, length))) {
            units.push_back(unit);
            at.push_back(i);
        }
        i += length;
    }
    const std::vector<Chapter> chapters = FindChapters(units);
    const bool anyLarger = std::any_of(chapters.begin(), chapters.end(),
                                       [](const Chapter& c) { return c.level <= 2; });
    const int deepest = anyLarger ? 2 : 3;
    std::vector<ExportPart> parts;
    ExportPart current{from, to, {}};
    for (const Chapter& chapter : chapters) {
        if (chapter.level > deepest) {
            continue;
        }
        const std::size_t byte = chapter.begin < at.size() ? at[chapter.begin] : text.size();
        if (byte >= to) {
            break;
        }
        if (byte > from) {
            current.to = byte;
            parts.push_back(std::move(current));
            current = ExportPart{byte, to, {}};
        }
        current.title = Utf8Of(chapter.title); // a range that starts inside it takes its title
    }
    current.to = to;
    parts.push_back(std::move(current));
    return parts;
}

std::string FileNameTitle(std::string_view title, std::size_t maxBytes) {
    // The title's characters as their UTF-8 bytes; one a name may not hold, or a byte that
    // starts no character, is '_'.
    std::vector<std::string_view> characters;
    for (std::size_t i = 0; i < title.size();) {
        const std::size_t length = Utf8SequenceLength(
            reinterpret_cast<const std::uint8_t*>(title.data() + i), title.size() - i);
        const std::string_view one = title.substr(i, std::max<std::size_t>(length, 1));
        characters.push_back(length == 0 || (length == 1 && ForbiddenInName(one[0])) ? "_" : one);
        i += one.size();
    }
    std::size_t first = 0;
    std::size_t last = characters.size();
    while (first < last && TrimmedAtEdge(characters[first])) {
        ++first;
    }
    while (last > first && TrimmedAtEdge(characters[last - 1])) {
        --last;
    }
    std::string out;
    for (std::size_t i = first; i < last && out.size() + characters[i].size() <= maxBytes; ++i) {
        out += characters[i];
    }
    while (!out.empty() && (out.back() == ' ' || out.back() == '.')) {
        out.pop_back(); // a cut may leave one at the end again
    }
    return out;
}

std::string PartPath(std::string_view path, std::size_t number, std::size_t count,
                     std::string_view title) {
    const std::size_t extension = ExtensionStart(path);
    std::string digits = std::to_string(number);
    const std::size_t width = std::max<std::size_t>(2, std::to_string(count).size());
    digits.insert(0, width - std::min(width, digits.size()), '0');
    std::string out(path.substr(0, extension));
    out += '-';
    out += digits;
    if (const std::string named = FileNameTitle(title); !named.empty()) {
        out += '-';
        out += named;
    }
    out += path.substr(extension);
    return out;
}

std::string PlaylistPath(std::string_view audioPath) {
    return std::string(audioPath.substr(0, ExtensionStart(audioPath))) + ".m3u8";
}

std::string PlaylistText(const std::vector<PlaylistEntry>& entries) {
    std::string out = "#EXTM3U\n";
    for (const PlaylistEntry& entry : entries) {
        const std::string_view path = entry.path;
        const std::string_view name = path.substr(NameStart(path));
        std::string title =
            entry.title.empty() ? std::string(name.substr(0, ExtensionStart(name))) : entry.title;
        std::replace(title.begin(), title.end(), '\n', ' ');
        std::replace(title.begin(), title.end(), '\r', ' ');
        out += "#EXTINF:" + std::to_string(std::lround(entry.seconds)) + "," + title + "\n";
        out += name;
        out += '\n';
    }
    return out;
}

ExportJobResult RunChapterExport(SpeechEngine& engine, const ExportText& text,
                                 const ExportOutputs& outputs,
                                 const ExportProgressCallback& progress,
                                 std::vector<std::string>* paths) {
    ExportJobResult total;
    if (const std::string problem = CheckExportNames(outputs); !problem.empty()) {
        return Failed(total, outputs.audio, problem);
    }
    const std::size_t to = std::min(text.to, text.text.size());
    const std::size_t from = std::min(text.from, to);
    const std::vector<ExportPart> parts = ChapterParts(text.text, from, to);
    // The text before the first heading is number 0, so that chapter n is always file n.
    const std::size_t firstNumber = parts.front().title.empty() ? 0 : 1;
    const std::size_t lastNumber = firstNumber + parts.size() - 1;
    PendingExportFiles pending;
    std::vector<PlaylistEntry> entries;
    std::vector<std::string> written;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const ExportPart& part = parts[i];
        const std::size_t number = firstNumber + i;
        auto name = [&](const std::string& path) {
            return path.empty() ? path : PartPath(path, number, lastNumber, part.title);
        };
        const ExportOutputs names{name(outputs.audio), name(outputs.subtitles),
                                  name(outputs.timings)};
        ExportText piece = text;
        piece.from = part.from;
        piece.to = part.to;
        const auto partProgress = [&](std::size_t done, std::size_t) {
            return !progress || progress(part.from - from + done, to - from);
        };
        ExportJobResult result = RunExportJob(engine, piece, names, partProgress, &pending);
        if (result.nothingToExport) {
            continue; // nothing said in it: no file
        }
        if (result.status != ExportStatus::Done) {
            return result;
        }
        total.ticks += result.ticks;
        total.samples += result.samples;
        entries.push_back(
            {names.audio, part.title, static_cast<double>(result.samples) / engine.SampleRate()});
        for (const std::string* path : {&names.audio, &names.subtitles, &names.timings}) {
            if (!path->empty()) {
                written.push_back(*path);
            }
        }
    }
    if (entries.empty()) {
        total.nothingToExport = true;
        return Failed(total, {},
                      "nothing to export: there is no text to read between byte " +
                          std::to_string(from) + " and byte " + std::to_string(to));
    }
    const std::string listPath = PlaylistPath(outputs.audio);
    std::string error;
    auto list = std::make_unique<AtomicOutputFile>();
    if (!list->Open(listPath, error) || !list->Write(PlaylistText(entries), error) ||
        !list->Complete(error)) {
        return Failed(total, listPath, error);
    }
    pending.sides.push_back(std::move(list));
    written.push_back(listPath);
    if (!CommitPendingExport(pending, error)) {
        return Failed(total, outputs.audio, error);
    }
    if (paths != nullptr) {
        *paths = std::move(written);
    }
    return total;
}

} // namespace yomi6
