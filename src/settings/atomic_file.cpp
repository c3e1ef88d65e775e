#include "settings/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace yomi6 {

namespace {

// Closes a descriptor when the scope ends.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return m_fd; }
    // Closes now and reports whether the close succeeded (it may report a late write error).
    bool Close() {
        const int fd = m_fd;
        m_fd = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int m_fd;
};

std::string Describe(const std::string& what, const std::string& path, int err) {
    return what + " " + path + ": " + std::strerror(err);
}

std::string DirectoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Creates dir and any missing parents with mode 0700.
bool CreateDirectories(const std::string& dir, std::string& error) {
    struct stat st {};
    if (::stat(dir.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            return true;
        }
        error = Describe("not a directory:", dir, ENOTDIR);
        return false;
    }
    const std::string parent = DirectoryOf(dir);
    if (parent != dir && !CreateDirectories(parent, error)) {
        return false;
    }
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
        error = Describe("cannot create directory", dir, errno);
        return false;
    }
    return true;
}

bool WriteAll(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (n == 0) {
            errno = EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The file a write at path replaces: path itself, or the file a symbolic link there points to.
bool ResolveTarget(const std::string& path, std::string& target, std::string& error) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
        target = path;
        return true;
    }
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        error = Describe("cannot follow the link", path, errno);
        return false;
    }
    target = resolved;
    std::free(resolved);
    return true;
}

// Opens a new, uniquely named file beside target. The name starts with a dot so that it stays
// out of sight while it exists.
int CreateTempBeside(const std::string& target, std::string& tempPath) {
    static std::atomic<unsigned> counter{0};
    const std::string prefix = DirectoryOf(target) + "/." + BaseNameOf(target) + ".tmp-" +
                               std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = prefix + std::to_string(counter.fetch_add(1));
        // 0666 lets the umask decide the mode of a new settings file, as for any new file.
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

void SyncDirectory(const std::string& dir) {
    // A rename is only durable once its directory is on the disk. Some file systems refuse
    // fsync on a directory; the replacement has happened either way, so that is not a failure.
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

ReadStatus ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes) {
    bytes.clear();
    // O_NONBLOCK keeps the open from waiting for a writer when the path is a FIFO; it has no
    // effect on the regular files that are read.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) {
        return errno == ENOENT || errno == ENOTDIR ? ReadStatus::Missing : ReadStatus::Unreadable;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return ReadStatus::Unreadable;
    }
    // Read in chunks rather than trusting st_size: the file may grow while it is read.
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            bytes.clear();
            return ReadStatus::Unreadable;
        }
        if (n == 0) {
            return ReadStatus::Read;
        }
        if (bytes.size() + static_cast<std::size_t>(n) > maxBytes) {
            bytes.clear();
            return ReadStatus::TooLarge;
        }
        bytes.append(chunk, static_cast<std::size_t>(n));
    }
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& error,
                         MissingDirectories directories) {
    error.clear();
    if (path.empty()) {
        error = "no settings file path";
        return false;
    }
    std::string target;
    if (!ResolveTarget(path, target, error) || (directories == MissingDirectories::Create &&
                                                !CreateDirectories(DirectoryOf(target), error))) {
        return false;
    }
    struct stat old {};
    const bool hadFile = ::stat(target.c_str(), &old) == 0;

    std::string tempPath;
    FileDescriptor fd(CreateTempBeside(target, tempPath));
    if (fd.get() < 0) {
        error = Describe("cannot create a file beside", target, errno);
        return false;
    }
    const char* step = "cannot write";
    bool ok = true;
    if (hadFile && ::fchmod(fd.get(), old.st_mode & 07777) != 0) {
        ok = false;
        step = "cannot set the permissions of";
    } else if (!WriteAll(fd.get(), bytes)) {
        ok = false;
    } else if (::fsync(fd.get()) != 0) {
        ok = false;
        step = "cannot flush";
    } else if (!fd.Close()) {
        ok = false;
    } else if (::rename(tempPath.c_str(), target.c_str()) != 0) {
        ok = false;
        step = "cannot replace";
    }
    if (!ok) {
        const int err = errno;
        fd.Close();
        ::unlink(tempPath.c_str());
        error = Describe(step, target, err);
        return false;
    }
    SyncDirectory(DirectoryOf(target));
    return true;
}

bool OpenTempForTarget(const std::string& path, TempForTarget& out, std::string& error) {
    error.clear();
    out = TempForTarget{};
    if (path.empty()) {
        error = "no file path";
        return false;
    }
    if (!ResolveTarget(path, out.target, error)) {
        return false;
    }
    out.fd = CreateTempBeside(out.target, out.tempPath);
    if (out.fd < 0) {
        error = Describe("cannot create a file beside", out.target, errno);
        return false;
    }
    struct stat old {};
    if (::stat(out.target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        ::fchmod(out.fd, old.st_mode & 07777);
    }
    return true;
}

bool CommitTempForTarget(TempForTarget& temp, std::string& error) {
    error.clear();
    FileDescriptor fd(temp.fd);
    temp.fd = -1;
    const char* step = nullptr;
    if (::fsync(fd.get()) != 0) {
        step = "cannot flush";
    } else if (!fd.Close()) {
        step = "cannot write";
    } else if (::rename(temp.tempPath.c_str(), temp.target.c_str()) != 0) {
        step = "cannot replace";
    }
    if (step != nullptr) {
        const int err = errno;
        fd.Close();
        ::unlink(temp.tempPath.c_str());
        temp.tempPath.clear();
        error = Describe(step, temp.target, err);
        return false;
    }
    temp.tempPath.clear();
    SyncDirectory(DirectoryOf(temp.target));
    return true;
}

void DiscardTempForTarget(TempForTarget& temp) {
    if (temp.fd >= 0) {
        ::close(temp.fd);
        temp.fd = -1;
    }
    if (!temp.tempPath.empty()) {
        ::unlink(temp.tempPath.c_str());
        temp.tempPath.clear();
    }
}

} // namespace yomi6
