#include "cli/atomic_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace yomi6::cli {

namespace {

bool WriteAll(int fd, const unsigned char* p, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            if (n == 0) {
                errno = EIO;
            }
            return false;
        }
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The permissions a newly created file gets: 0666 less the process's umask.
mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

} // namespace

bool WriteFileAtomically(const std::string& path, const void* data, std::size_t size,
                         std::string* error) {
    auto fail = [&](const char* what) {
        if (error != nullptr) {
            *error = std::string(what) + std::strerror(errno);
        }
        return false;
    };
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        return fail("");
    }
    std::string pattern = path + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        return fail("");
    }
    bool ok = ::fchmod(fd, NewFileMode()) == 0 &&
              WriteAll(fd, static_cast<const unsigned char*>(data), size) && ::fsync(fd) == 0;
    int savedErrno = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok) {
        ::unlink(name.data());
        errno = savedErrno;
        return fail("cannot write: ");
    }
    if (::rename(name.data(), path.c_str()) != 0) {
        savedErrno = errno;
        ::unlink(name.data());
        errno = savedErrno;
        return fail("");
    }
    // Make the rename itself durable.
    const int dir = ::open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

} // namespace yomi6::cli
