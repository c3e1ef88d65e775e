#include "dictionary/dic_file.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <limits>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace yomi6 {

namespace {

bool IsRetryable(int err) {
    return err == EACCES || err == EAGAIN || err == EWOULDBLOCK || err == EDEADLK;
}

void SleepMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Seeks to recordSize * index from the start; false when the offset is invalid or the seek fails.
bool SeekRecord(int fd, std::size_t recordSize, int index) {
    if (index < 0) {
        return false;
    }
    const auto offset =
        static_cast<unsigned long long>(recordSize) * static_cast<unsigned long long>(index);
    if (offset > static_cast<unsigned long long>(std::numeric_limits<off_t>::max())) {
        return false;
    }
    return ::lseek(fd, static_cast<off_t>(offset), SEEK_SET) >= 0;
}

bool WriteAll(int fd, const unsigned char* p, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const long n = detail::TransferWithRetry(
            [&] { return static_cast<long>(::write(fd, p + done, size - done)); }, SleepMs);
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string DirectoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

namespace detail {

long TransferWithRetry(const std::function<long()>& transfer,
                       const std::function<void(int ms)>& sleep) {
    for (int attempt = 0;; ++attempt) {
        errno = 0;
        const long n = transfer();
        if (n >= 0) {
            return n;
        }
        if (errno == EINTR) {
            continue;
        }
        if (!IsRetryable(errno) || attempt >= kTransferRetries) {
            return n;
        }
        sleep(kTransferRetryDelayMs);
    }
}

} // namespace detail

DictionaryFile::~DictionaryFile() {
    CloseFile();
}

int DictionaryFile::OpenExisting(const char* name) {
    return OpenRegular(name, O_RDWR);
}

int DictionaryFile::OpenReadOnly(const char* name) {
    return OpenRegular(name, O_RDONLY);
}

int DictionaryFile::OpenRegular(const char* name, int access) {
    CloseFile();
    // O_NONBLOCK keeps the open from waiting for a writer when the name is a FIFO; the
    // transfers themselves block as usual once the file is known to be a regular file.
    m_fd = ::open(name, access | O_CLOEXEC | O_NONBLOCK);
    if (m_fd < 0) {
        return -1;
    }
    struct stat st {};
    if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int err = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        CloseFile();
        errno = err;
        return -1;
    }
    const int flags = ::fcntl(m_fd, F_GETFL);
    if (flags < 0 || ::fcntl(m_fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        const int err = errno;
        CloseFile();
        errno = err;
        return -1;
    }
    return 0;
}

int DictionaryFile::OpenOrCreate(const char* name, const void* image, std::size_t recordSize,
                                 int lastRecord, bool* created) {
    if (created != nullptr) {
        *created = false;
    }
    if (OpenExisting(name) == 0) {
        return 0;
    }
    if (errno != ENOENT) {
        return -1; // it exists but cannot be opened (a directory, no permission, ...)
    }

    std::string temp = DirectoryOf(name) + "/.Yomi6.dic.XXXXXX";
    std::vector<char> tempName(temp.begin(), temp.end());
    tempName.push_back('\0');
    const int tfd = ::mkostemp(tempName.data(), O_CLOEXEC);
    if (tfd < 0) {
        return -1;
    }
    bool ok = ::fchmod(tfd, 0644) == 0;
    const auto* bytes = static_cast<const unsigned char*>(image);
    for (int i = 0; ok && i <= lastRecord; ++i) {
        ok = SeekRecord(tfd, recordSize, i) &&
             WriteAll(tfd, bytes + recordSize * static_cast<std::size_t>(i), recordSize);
    }
    ok = ok && ::fsync(tfd) == 0;
    ok = ::close(tfd) == 0 && ok;
    // link() refuses to replace a file that another instance created meanwhile; that file then
    // wins.
    const bool linked = ok && ::link(tempName.data(), name) == 0;
    ::unlink(tempName.data());
    if (!ok) {
        return -1;
    }
    if (OpenExisting(name) != 0) {
        return -1;
    }
    if (created != nullptr) {
        *created = linked;
    }
    return 0;
}

int DictionaryFile::ReadRecord(void* buffer, std::size_t recordSize, int index) {
    if (m_fd < 0 || !SeekRecord(m_fd, recordSize, index)) {
        return -2;
    }
    auto* p = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < recordSize) {
        const long n = detail::TransferWithRetry(
            [&] { return static_cast<long>(::read(m_fd, p + done, recordSize - done)); }, SleepMs);
        if (n <= 0) {
            return -1; // a failure, or the end of a file shorter than the record
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

int DictionaryFile::WriteRecord(const void* buffer, std::size_t recordSize, int index) {
    if (m_fd < 0 || !SeekRecord(m_fd, recordSize, index)) {
        return -2;
    }
    return WriteAll(m_fd, static_cast<const unsigned char*>(buffer), recordSize) ? 0 : -1;
}

int DictionaryFile::CloseFile() {
    if (m_fd < 0) {
        return 0;
    }
    const int rc = ::close(m_fd);
    m_fd = -1;
    return rc == 0 ? 0 : -1;
}

std::string DictionaryFile::FullPath() const {
    if (m_fd < 0) {
        return {};
    }
    const std::string link = "/proc/self/fd/" + std::to_string(m_fd);
    std::vector<char> buf(PATH_MAX);
    for (;;) {
        const ssize_t n = ::readlink(link.c_str(), buf.data(), buf.size());
        if (n < 0) {
            return {};
        }
        if (static_cast<std::size_t>(n) < buf.size()) {
            // A file deleted while open has no path to reopen.
            struct stat st {};
            if (buf[0] != '/' || ::fstat(m_fd, &st) != 0 || st.st_nlink == 0) {
                return {};
            }
            return std::string(buf.data(), static_cast<std::size_t>(n));
        }
        buf.resize(buf.size() * 2);
    }
}

} // namespace yomi6
