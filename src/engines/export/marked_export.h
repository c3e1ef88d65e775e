// An export to one sound file with its chapters marked inside it, for an audio book: FLAC, Ogg
// Opus and Ogg Vorbis take chapter comments, MP3 an ID3 table of contents, an .m4b (made by
// ffmpeg, when installed) its chapter list; a WAVE file has no marks of its own. Beside each, a
// cue sheet of the same chapters. Every file appears, or none.
#pragma once

#include "engine/speech_engine.h"
#include "export/chapter_marks.h"
#include "export/chapter_split.h"
#include "export/export_job.h"

#include <atomic>
#include <optional>
#include <string>
#include <vector>

namespace yomi6 {

// The chapter marks of parts (ChapterParts) in a sound totalMs long, where starts holds the
// millisecond each part starts at (none: nothing of it was said; such a part gets no mark). The
// first mark starts at 0; each ends where the next starts, the last at totalMs. A part without a
// title is named untitled. No heading at all (one part without a title): no mark.
std::vector<ChapterMark> MarksOfParts(const std::vector<ExportPart>& parts,
                                      const std::vector<std::optional<std::int64_t>>& starts,
                                      std::int64_t totalMs, const std::string& untitled);

// Whether the name is an .m4b (any case): an export through ffmpeg.
bool IsM4bPath(std::string_view path);

// Exports text into outputs.audio (.wav .flac .ogg .opus .mp3 .m4b), said by engine part by
// part of ChapterParts as RunChapterExport says them, one after the other on one clock, with a
// mark where each part starts (where its own file would, to the frame), and the cue sheet
// (CueSheetPath) beside it when there are marks; subtitles and timings of the whole. ffmpeg:
// the program that makes an .m4b ("": ffmpeg from PATH). paths, when given, receives the files
// written (the sound file last). cancel, when given, is looked at while ffmpeg runs (progress
// is not called then): its turning true kills ffmpeg and stops the export as progress would.
ExportJobResult RunMarkedExport(SpeechEngine& engine, const ExportText& text,
                                const ExportOutputs& outputs,
                                const ExportProgressCallback& progress = {},
                                std::vector<std::string>* paths = nullptr,
                                const std::string& ffmpeg = {},
                                const std::atomic<bool>* cancel = nullptr);

} // namespace yomi6
