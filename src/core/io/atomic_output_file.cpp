#include "io/atomic_output_file.h"

#include "io/commit_together.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace yomi6 {

namespace {

constexpr std::size_t kBufferLimit = 1 << 16;

} // namespace

AtomicOutputFile::~AtomicOutputFile() {
    Discard();
}

bool AtomicOutputFile::Open(const std::string& path, std::string& error) {
    Discard();
    return OpenTempForTarget(path, m_temp, error);
}

bool AtomicOutputFile::Write(std::string_view bytes, std::string& error) {
    m_buffer.append(bytes);
    return m_buffer.size() < kBufferLimit || Flush(error);
}

bool AtomicOutputFile::Flush(std::string& error) {
    std::size_t done = 0;
    while (done < m_buffer.size()) {
        const ssize_t n = ::write(m_temp.fd, m_buffer.data() + done, m_buffer.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            error = "cannot write " + m_temp.target + ": " + std::strerror(n < 0 ? errno : EIO);
            m_buffer.clear();
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    m_buffer.clear();
    return true;
}

bool AtomicOutputFile::Commit(std::string& error) {
    if (!IsOpen() && m_temp.tempPath.empty()) {
        error = "no file is open";
        return false;
    }
    if (!Flush(error)) {
        Discard();
        return false;
    }
    return CommitTempForTarget(m_temp, error);
}

bool AtomicOutputFile::Complete(std::string& error) {
    if (!IsOpen() && !m_temp.tempPath.empty()) {
        return true;
    }
    if (!IsOpen()) {
        error = "no file is open";
        return false;
    }
    if (!Flush(error)) {
        Discard();
        return false;
    }
    return CompleteTempForTarget(m_temp, error);
}

void AtomicOutputFile::Discard() {
    m_buffer.clear();
    DiscardTempForTarget(m_temp);
}

bool CommitTogether(std::span<AtomicOutputFile* const> files, std::string& error) {
    std::vector<TempForTarget*> temps;
    for (AtomicOutputFile* file : files) {
        if (!file->Complete(error)) {
            for (AtomicOutputFile* other : files) {
                other->Discard();
            }
            return false;
        }
        temps.push_back(&file->m_temp);
    }
    return CommitTempsTogether(temps, error);
}

} // namespace yomi6
