// Files that make one result (a sound file and its subtitles and timings) appear together or
// not at all.
#pragma once

#include "io/atomic_file.h"

#include <span>
#include <string>

namespace yomi6 {

// Renames every temporary over its target, in the order given, once all of them are complete
// (each is completed first, as CompleteTempForTarget does). When one cannot be completed or
// renamed, none stays: the targets already replaced get their old files back (through hard
// links made beforehand; a new target is removed), every temporary is removed, error says
// why and false is returned. Interrupting signals wait until the renames are over, so that a
// Ctrl+C cannot leave half a result. Where the file system refuses hard links the old file
// of a target renamed before a failing one cannot come back.
bool CommitTempsTogether(std::span<TempForTarget* const> temps, std::string& error);

} // namespace yomi6
