// An export to files: the sound in the format its name picks, and beside it, when named, the
// subtitles (.srt or .vtt) and the timings (JSON). Every file is written to a temporary file
// beside its target and renamed only when the whole export has succeeded; a failure or a cancel
// leaves no file behind.
#pragma once

#include "engine/speech_engine.h"
#include "export/audio_file_writer.h"
#include "export/speech_export.h"
#include "export/subtitle_cues.h"
#include "io/atomic_output_file.h"

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace yomi6 {

struct ExportOutputs {
    std::string audio;     // .wav .flac .ogg .opus .mp3
    std::string subtitles; // .srt or .vtt; empty: none
    std::string timings;   // .json; empty: none
};

// Whether name ends with suffix (given in lower case) in any case, with something before it.
bool EndsWithNoCase(std::string_view name, std::string_view suffix);

// The subtitle format of a name by its extension (.srt or .vtt, any case), or none.
std::optional<SubtitleFormat> SubtitleFormatForPath(std::string_view path);

// Checks the names' extensions: "" when they can be written, else what is wrong.
std::string CheckExportNames(const ExportOutputs& outputs);

struct ExportJobResult {
    ExportStatus status = ExportStatus::Done; // Stopped: cancelled through progress
    std::string where; // the file a failure concerns; empty: the text or its speech
    std::string error;
    // Failed because nothing in the range is said: no file is written, since a silent sound
    // with empty subtitles is no result, and several formats cannot hold an empty sound (an
    // empty FLAC or MP3 file, an Opus file no player opens).
    bool nothingToExport = false;
    std::int64_t ticks = 0;   // the pass's units (the sample voices: ticks)
    std::int64_t samples = 0; // output samples at the pass's sample rate
};

// result as failed: where names the file the failure concerns (empty: the text or its speech).
ExportJobResult Failed(ExportJobResult result, std::string where, std::string error);

// The text an export reads, as the cues show it.
struct ExportText {
    std::string_view text; // code page 932
    std::size_t from = 0;  // source bytes [from, to) are read; both clamped to the text
    std::size_t to = static_cast<std::size_t>(-1);
    bool withoutNotation = false; // cues show Aozora notation as printed
    // The characters the code page lacks, which the cues show as themselves (sorted).
    std::span<const StandIn> standIns = {};
};

using ExportProgressCallback = std::function<bool(std::size_t done, std::size_t total)>;

// The files of exports that are complete (flushed to the disk) but not yet at their names: an
// export of several parts hands each part's files here and renames them all at the end, all or
// none. Dropped uncommitted, they leave nothing behind.
struct PendingExportFiles {
    PendingExportFiles();
    ~PendingExportFiles();
    PendingExportFiles(PendingExportFiles&&) noexcept;
    PendingExportFiles& operator=(PendingExportFiles&&) noexcept = default;

    std::vector<std::unique_ptr<AtomicOutputFile>> sides; // subtitles, timings, lists
    std::vector<std::unique_ptr<AudioFileWriter>> sounds;
};

// Renames every pending file over its name, the side files first, all or none; false with the
// reason in error. The files are gone from pending either way.
bool CommitPendingExport(PendingExportFiles& files, std::string& error);

// Runs the export of text, said by engine, into the files, whichever engine speaks: the sound
// file takes the engine's blocks, the subtitles and timings the units they carry. progress as
// EngineSink::onProgress. A range in which nothing that sounds is said (no unit at all, or
// silent units and pauses only) is refused (nothingToExport). With pending, the files are left
// there when done, instead of being renamed.
ExportJobResult RunExportJob(SpeechEngine& engine, const ExportText& text,
                             const ExportOutputs& outputs,
                             const ExportProgressCallback& progress = {},
                             PendingExportFiles* pending = nullptr);

// The export of request with the sample voices.
ExportJobResult RunExportJob(const ExportRequest& request, const ExportOutputs& outputs,
                             const ExportProgressCallback& progress = {});

} // namespace yomi6
