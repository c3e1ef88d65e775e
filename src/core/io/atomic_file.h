// Whole-file reads and crash-safe whole-file replacement for small files such as the settings.
#pragma once

#include <cstddef>
#include <span>
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
// its target is replaced); an existing file is replaced only when the user could write it in
// place (a file without any write permission counts as read-only for the superuser too), and
// the new file keeps its permission bits and, where this process may set them, its owner and
// group; missing directories above the file are created with mode 0700 when directories says
// so (a settings file whose folder does not exist yet), else they are an error (a file the
// user named). What is not a regular file (a device, a FIFO, a terminal, /dev/stdout) is
// written into directly, never replaced. On failure the old file is untouched, no temporary
// file is left behind, false is returned and error says what failed.
enum class MissingDirectories { Create, Fail };
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& error,
                         MissingDirectories directories = MissingDirectories::Create);

// Whether a write at path goes into what is there rather than replacing it: path exists and is
// not a regular file, or names one of this process's open descriptors (/dev/stdout,
// /dev/fd/N).
bool WritesInPlace(const std::string& path);

// Writes pieces one after another into a path that WritesInPlace, as WriteFileAtomically writes
// its bytes there: for a file too large to be held twice, whose pieces lie apart.
bool WritePiecesInPlace(const std::string& path, std::span<const std::string_view> pieces,
                        std::string& error);

// The folder that receives the new file when path is replaced: path's own folder, or that of
// the file a symbolic link at path points to.
std::string ReplacementDirectory(const std::string& path);

// Temporary files are named ".yomi6-PID-XXXXXXXX.tmp" (a fixed-length random suffix, so that a
// temporary beside a file of the longest legal name still fits in a directory entry). One that
// a killed process left behind is removed when a later write uses the same folder, once it is
// this many seconds old and its process is gone.
inline constexpr long kStaleTemporaryAgeSeconds = 300;

// Creates a new, empty temporary file in dir (after removing stale ones there) and returns its
// descriptor, or -1 with errno set. tempPath receives its path.
int CreateTemporaryIn(const std::string& dir, std::string& tempPath);

// Gives file a second name of the temporaries' pattern in its own folder (a hard link, which
// keeps the very file whatever later replaces the first name). False, with errno set, where
// the file system has no hard links or refuses one.
bool LinkTemporaryTo(const std::string& file, std::string& linkPath);

// Flushes the folder that holds path, so that a rename in it is on the disk.
void SyncFolderOf(const std::string& path);

// Removes the temporary files in dir that processes now gone left behind more than
// kStaleTemporaryAgeSeconds ago: this program's names only, regular files only.
void RemoveStaleTemporaries(const std::string& dir);
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
// The first half of a commit: flushes the file to the disk and closes fd, so that every error
// of writing it has shown; the temporary stays, to be renamed (io/commit_together.h).
// On failure it is removed. A temporary already completed is left as it is.
bool CompleteTempForTarget(TempForTarget& temp, std::string& error);
// Closes fd and removes the temporary file (nothing when already committed or discarded).
void DiscardTempForTarget(TempForTarget& temp);

} // namespace yomi6
