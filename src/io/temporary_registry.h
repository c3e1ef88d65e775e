// The temporary files this process has made and not yet renamed or removed, kept where a
// signal handler can reach them: a process ended by a signal (Ctrl+C, a kill, a closed
// terminal or pipe) removes them first, so that it leaves no file that was not there before.
//
// The table is the one piece of process-wide state of the file writers, and it must be: a
// signal handler can reach nothing else. It is a fixed array of fixed-size entries, so that
// reading it needs no lock and no allocation.
#pragma once

#include <cstddef>
#include <string>

namespace yomi6 {

// How many temporary files can be noted at once: an export's three and the three links to the
// files they replace, and the three files of each engine run of the natural voice, for as many
// workers as it may run (the natural pass checks its limit against this).
inline constexpr std::size_t kMaxNotedTemporaries = 256;

// Notes a temporary file before it is created. A path too long for an entry, or a table that
// is full, is simply not noted: the file is still removed on every ordinary path.
void NoteTemporary(const std::string& path);

// Forgets a temporary file once it is renamed or removed.
void ForgetTemporary(const std::string& path);

// Removes every noted temporary file. Async-signal-safe: calls only unlink.
void RemoveNotedTemporaries() noexcept;

} // namespace yomi6
