// Chapter marks in an MP3 file: an ID3v2.4 tag in front of it with a table of contents (CTOC)
// and one CHAP frame per chapter, each with its start and end in milliseconds and a TIT2
// sub-frame with its title.
#pragma once

#include "export/chapter_marks.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace yomi6 {

// value (below 2^28) as four bytes of seven bits each, the highest first.
std::string Synchsafe(std::uint32_t value);

// The tag of marks (an empty string for no mark). False with the reason in error when the marks
// do not fit in one (more than 255 chapters, a tag past 256 MiB).
bool ChapterTag(const std::vector<ChapterMark>& marks, std::string& tag, std::string& error);

// How many bytes of the ID3v2 tag the file starts with (0 for none), so that the new tag
// replaces it. False with the reason in error for a tag cut short.
bool Id3TagLength(std::string_view head, std::size_t& length, std::string& error);

} // namespace yomi6
