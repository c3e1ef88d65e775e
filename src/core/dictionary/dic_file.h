// The dictionary file: one file opened for reading and writing without any lock, transferred
// as whole records at a given index. Every operation returns 0 on success and -1 (or -2 for a
// failed seek) on failure; nothing throws.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace yomi6 {

// How often a read or write refused because another process holds the file (access denied,
// a locked range, a transfer that would block) is tried again, 100 ms apart, before it fails.
// Twenty tries wait two seconds at most: long enough for another instance to finish its
// 340 KB transfer, short enough that a stuck lock does not freeze the editor.
inline constexpr int kTransferRetries = 20;
inline constexpr int kTransferRetryDelayMs = 100;

class DictionaryFile {
public:
    DictionaryFile() = default;
    ~DictionaryFile();
    DictionaryFile(const DictionaryFile&) = delete;
    DictionaryFile& operator=(const DictionaryFile&) = delete;

    // Opens an existing regular file for reading and writing. 0 when open, -1 otherwise
    // (errno EISDIR for a directory, EINVAL for a FIFO, a device or a socket, which are
    // refused without waiting for another process).
    int OpenExisting(const char* name);

    // Opens the file read-only (the command-line modes never write the dictionary), with the
    // same checks.
    int OpenReadOnly(const char* name);

    // Opens the existing file, or creates it holding records 0..lastRecord of image.
    // The new file appears whole or not at all: it is written beside its final name and
    // linked into place only after every byte reached the disk, so a crash or a full disk
    // never leaves a short dictionary behind. *created tells whether it was created.
    int OpenOrCreate(const char* name, const void* image, std::size_t recordSize, int lastRecord,
                     bool* created);

    // Reads recordSize bytes at recordSize * index. 0 when all arrived, -1 when fewer arrived
    // or the read failed, -2 when the seek failed. buffer receives whatever arrived.
    int ReadRecord(void* buffer, std::size_t recordSize, int index);

    // Writes recordSize bytes at recordSize * index. 0, -1 on a failed write, -2 on a failed seek.
    int WriteRecord(const void* buffer, std::size_t recordSize, int index);

    // Closes the file. 0, or -1 if closing reported an error.
    int CloseFile();

    bool IsOpen() const { return m_fd >= 0; }

    // The full path of the open file; empty when it cannot be found out.
    std::string FullPath() const;

private:
    int OpenRegular(const char* name, int access);

    int m_fd = -1;
};

namespace detail {

// Repeats a transfer while it fails for a reason that another process may clear (errno
// EACCES, EAGAIN/EWOULDBLOCK or EDEADLK), sleeping between tries; stops at once on success
// or any other failure. transfer returns the number of bytes moved, or -1 with errno set.
// Returns the last result of transfer.
long TransferWithRetry(const std::function<long()>& transfer,
                       const std::function<void(int ms)>& sleep);

} // namespace detail

} // namespace yomi6
