// A cue sheet beside a sound file with chapter marks: one track per chapter, for players that
// read marks from no sound format (and the only marks a WAVE file gets).
#pragma once

#include "export/chapter_marks.h"

#include <string>
#include <string_view>
#include <vector>

namespace yomi6 {

// The cue sheet's name beside the sound file's: its extension as .cue.
std::string CueSheetPath(std::string_view audioPath);

// The text (UTF-8) of the cue sheet of audioPath's file (named without its folder) with one
// TRACK per mark, its TITLE and INDEX 01 at its start in minutes, seconds and frames (75 a
// second, rounded down).
std::string CueSheetText(std::string_view audioPath, const std::vector<ChapterMark>& marks);

} // namespace yomi6
