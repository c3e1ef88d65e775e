// Whole-file reads and crash-safe whole-file replacement for small files such as the settings.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace yomi6 {

enum class ReadStatus {
    Read,       // the whole file is in the buffer
    Missing,    // no file (or no directory) at the path
    Unreadable, // it exists but cannot be read: no permission, an I/O error, or not a regular
                // file (a directory, a FIFO, a device)
    TooLarge,   // it holds more than the caller's limit; nothing was kept
};

// Reads the whole file at path into bytes, unless it is larger than maxBytes.
ReadStatus ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes);

// Replaces the file at path with bytes so that a crash, a full disk or a size limit can never
// leave a partly written file: the bytes go to a new file beside the target, are flushed to
// the disk and only then renamed over it. A symbolic link at path is followed (the link stays,
// its target is replaced); an existing file keeps its permission bits; missing directories
// above the file are created with mode 0700 when directories says so (a settings file whose
// folder does not exist yet), else they are an error (a file the user named). On failure the
// old file is untouched, no temporary file is left behind, false is returned and error says
// what failed.
enum class MissingDirectories { Create, Fail };
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& error,
                         MissingDirectories directories = MissingDirectories::Create);

// The same replacement for a file written piece by piece (a long recording): a new file beside
// the target, named and created as WriteFileAtomically does, which the caller writes through fd
// and then commits (flushed, renamed over the target) or discards (removed). The directory
// above the target must exist. A file already at the target keeps its permission bits.
struct TempForTarget {
    int fd = -1;
    std::string target;   // the file that a commit replaces (a symbolic link followed)
    std::string tempPath; // the new file; empty once committed or discarded
};
bool OpenTempForTarget(const std::string& path, TempForTarget& out, std::string& error);
// Closes fd, flushes and renames; on failure the temporary file is removed and the target is
// untouched.
bool CommitTempForTarget(TempForTarget& temp, std::string& error);
// Closes fd and removes the temporary file (nothing when already committed or discarded).
void DiscardTempForTarget(TempForTarget& temp);

} // namespace yomi6
