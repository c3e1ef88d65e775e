// Chapter marks in a FLAC file: CHAPTER comments in its VORBIS_COMMENT block.
#pragma once

#include "export/chapter_marks.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace yomi6 {

// head: the start of a FLAC file, holding at least all its metadata blocks. Gives in out the
// metadata that replaces them ("fLaC", STREAMINFO and the other blocks as they are, padding
// dropped, the comment block with the chapters last), and in audioStart where the audio frames
// start in the file, to be copied after out untouched. False with the reason in error for what
// is no FLAC file or is cut short.
bool FlacWithChapters(std::string_view head, const std::vector<ChapterMark>& marks,
                      std::string& out, std::size_t& audioStart, std::string& error);

} // namespace yomi6
