// An audio book file (.m4b: AAC in MP4, with chapters) made by ffmpeg from a finished sound
// file, where ffmpeg is installed. ffmpeg runs without a shell, with a time limit, and is
// killed with us.
#pragma once

#include "export/chapter_marks.h"

#include <atomic>
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace yomi6 {

// The path of an executable program called name in a folder of PATH, or "" when there is none.
std::string FindProgramOnPath(std::string_view name);

// The ffmpeg metadata file of marks: one [CHAPTER] section each, in milliseconds, with its
// title (= ; # \ and line breaks escaped).
std::string FfmetadataText(const std::vector<ChapterMark>& marks);

// Has ffmpeg encode source into target (overwritten) as an .m4b with the chapters of the
// metadata file, within limit; ffmpeg is killed within a tenth of a second of *cancel turning
// true. False with one line saying why in error (cancelled set when it was cancelled).
struct M4bRun {
    std::chrono::milliseconds limit{120000};
    const std::atomic<bool>* cancel = nullptr;
    bool cancelled = false;
};
bool EncodeM4b(const std::string& ffmpeg, const std::string& source, const std::string& metadata,
               const std::string& target, M4bRun& run, std::string& error);

} // namespace yomi6
