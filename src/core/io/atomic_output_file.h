// A file written piece by piece that appears at its path only when it is complete: the pieces go
// to a temporary file beside the target, renamed over it by Commit. Destroyed without a commit
// (an error, a cancel, an exception), it leaves nothing behind.
#pragma once

#include "io/atomic_file.h"

#include <span>
#include <string>
#include <string_view>

namespace yomi6 {

class AtomicOutputFile {
public:
    AtomicOutputFile() = default;
    ~AtomicOutputFile();
    AtomicOutputFile(const AtomicOutputFile&) = delete;
    AtomicOutputFile& operator=(const AtomicOutputFile&) = delete;

    // Creates the temporary file for path. False, with the reason in error, when it cannot.
    bool Open(const std::string& path, std::string& error);
    bool IsOpen() const { return m_temp.fd >= 0; }
    // The descriptor of the temporary file, for writers that write it themselves.
    int Descriptor() const { return m_temp.fd; }
    const std::string& Target() const { return m_temp.target; }
    // The temporary file's path while it is not committed or discarded (else empty), for a
    // writer that reads back what it wrote or has another program write it.
    const std::string& TempPath() const { return m_temp.tempPath; }

    // Appends bytes (buffered). False, with the reason in error, on a write error.
    bool Write(std::string_view bytes, std::string& error);
    // Writes what is buffered, flushes and renames the file over its target.
    bool Commit(std::string& error);
    // Writes what is buffered and flushes it to the disk, without the rename, so that every
    // error of writing it has shown (again: true). On failure the file is removed.
    bool Complete(std::string& error);
    // Removes the temporary file.
    void Discard();

    // Renames the files over their targets all or none, once every one is complete
    // (CommitTempsTogether); on failure every one is removed.
    friend bool CommitTogether(std::span<AtomicOutputFile* const> files, std::string& error);

private:
    bool Flush(std::string& error);

    TempForTarget m_temp;
    std::string m_buffer;
};

bool CommitTogether(std::span<AtomicOutputFile* const> files, std::string& error);

} // namespace yomi6
