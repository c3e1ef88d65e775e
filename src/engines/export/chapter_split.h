// An export cut at its chapters, for an audio book: one sound file per chapter (with its own
// subtitles and timings when those are asked for), named by number and title, and a playlist
// (.m3u8) of them in order. The parts are one result: every file appears, or none.
#pragma once

#include "engine/speech_engine.h"
#include "export/export_job.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace yomi6 {

// A stretch of the text said as one file.
struct ExportPart {
    std::size_t from = 0; // source bytes [from, to)
    std::size_t to = 0;
    std::string title; // UTF-8, as the heading reads; empty for the text before the first heading
};

// The parts of source bytes [from, to) of text (code page 932): a part starts at each heading of
// a part or a chapter (levels 1 and 2; in a text with none of those, at each heading of level
// 3), and the text before the first such heading is a part of its own. A text with no heading
// is one part.
std::vector<ExportPart> ChapterParts(std::string_view text, std::size_t from, std::size_t to);

// A title as part of a file name: no path separator, no control character, none of the
// characters other systems forbid (\ : * ? " < > |), no leading dot or blank, no trailing dot or
// blank, at most maxBytes bytes of UTF-8, cut at a character.
std::string FileNameTitle(std::string_view title, std::size_t maxBytes = 80);

// The name of part number (1-based) of count beside path: "dir/book.mp3" gives
// "dir/book-01-第一章.mp3" (two digits, more when count needs them; no title part when the title is
// empty).
std::string PartPath(std::string_view path, std::size_t number, std::size_t count,
                     std::string_view title);

// The playlist's name beside the sound file's: its extension as .m3u8.
std::string PlaylistPath(std::string_view audioPath);

struct PlaylistEntry {
    std::string path; // as written; the list names it relative to the list's folder
    std::string title;
    double seconds = 0;
};

// The text of an extended M3U playlist (UTF-8) of entries.
std::string PlaylistText(const std::vector<PlaylistEntry>& entries);

// Exports [text.from, text.to) of text part by part (ChapterParts), each said by engine into its
// own files named by PartPath from outputs, then writes the playlist, and renames all at once.
// A part in which nothing is said is left out. progress counts source bytes of the whole range.
// paths, when given, receives the files written (the playlist last).
ExportJobResult RunChapterExport(SpeechEngine& engine, const ExportText& text,
                                 const ExportOutputs& outputs,
                                 const ExportProgressCallback& progress = {},
                                 std::vector<std::string>* paths = nullptr);

} // namespace yomi6
