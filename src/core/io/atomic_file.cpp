#include "io/atomic_file.h"

#include "io/temporary_registry.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <sys/random.h>
#include <sys/stat.h>
#include <thread>
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

constexpr std::string_view kTempPrefix = ".yomi6-";
constexpr std::string_view kTempSuffix = ".tmp";
constexpr std::size_t kTempRandomLength = 8;

bool AllDigits(std::string_view s) {
    return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

// The process id in the name of a temporary file this program made: ".yomi6-PID-XXXXXXXX.tmp",
// or ".NAME.tmp-PID-N" as earlier versions named them. 0 for any other name.
long TemporaryOwner(std::string_view name) {
    std::string_view pid;
    if (name.size() > kTempPrefix.size() + kTempRandomLength + kTempSuffix.size() + 1 &&
        name.substr(0, kTempPrefix.size()) == kTempPrefix &&
        name.substr(name.size() - kTempSuffix.size()) == kTempSuffix) {
        const std::string_view middle =
            name.substr(kTempPrefix.size(), name.size() - kTempPrefix.size() - kTempSuffix.size());
        const std::size_t dash = middle.size() - kTempRandomLength - 1;
        if (middle[dash] != '-' ||
            middle.substr(dash + 1).find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789") !=
                std::string_view::npos) {
            return 0;
        }
        pid = middle.substr(0, dash);
    } else if (name.size() > 1 && name[0] == '.') {
        const std::size_t tmp = name.rfind(".tmp-");
        if (tmp == std::string_view::npos || tmp == 0) {
            return 0;
        }
        const std::string_view rest = name.substr(tmp + 5);
        const std::size_t dash = rest.find('-');
        if (dash == std::string_view::npos || !AllDigits(rest.substr(dash + 1))) {
            return 0;
        }
        pid = rest.substr(0, dash);
    }
    if (!AllDigits(pid) || pid.size() > 9) {
        return 0;
    }
    return std::strtol(std::string(pid).c_str(), nullptr, 10);
}

// A random suffix of kTempRandomLength lower-case letters and digits.
std::string RandomSuffix() {
    static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char random[kTempRandomLength] = {};
    if (::getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
        // No entropy source: the clock's nanoseconds, the process, the thread and this call's
        // stack give names that differ between callers, and the exclusive create below retries
        // a name that is taken anyway.
        unsigned long long seed = static_cast<unsigned long long>(
                                      std::chrono::steady_clock::now().time_since_epoch().count()) *
                                      1000003u +
                                  static_cast<unsigned long long>(::getpid()) * 7919u +
                                  std::hash<std::thread::id>()(std::this_thread::get_id()) +
                                  reinterpret_cast<std::uintptr_t>(&random);
        for (auto& r : random) {
            seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
            r = static_cast<unsigned char>(seed >> 56);
        }
    }
    std::string suffix;
    for (const unsigned char r : random) {
        suffix += kAlphabet[r % (sizeof kAlphabet - 1)];
    }
    return suffix;
}

} // namespace

void RemoveStaleTemporaries(const std::string& dir) {
    DIR* d = ::opendir(dir.c_str());
    if (d == nullptr) {
        return;
    }
    const std::time_t now = std::time(nullptr);
    const long self = ::getpid();
    while (const dirent* entry = ::readdir(d)) {
        const long pid = TemporaryOwner(entry->d_name);
        if (pid <= 0 || pid == self) {
            continue;
        }
        struct stat st {};
        if (::fstatat(::dirfd(d), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(st.st_mode) || now - st.st_mtime < kStaleTemporaryAgeSeconds) {
            continue;
        }
        // A process that still runs (or that this user may not signal) may still need it.
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) {
            continue;
        }
        ::unlinkat(::dirfd(d), entry->d_name, 0);
    }
    ::closedir(d);
}

int CreateTemporaryIn(const std::string& dir, std::string& tempPath) {
    RemoveStaleTemporaries(dir);
    const std::string prefix =
        dir + "/" + std::string(kTempPrefix) + std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = prefix + RandomSuffix() + std::string(kTempSuffix);
        // Noted before it exists, so that a signal at any moment finds it.
        NoteTemporary(tempPath);
        // 0666 lets the umask decide the mode of a new file, as for any new file.
        const int fd =
            ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd >= 0) {
            return fd;
        }
        const int err = errno;
        ForgetTemporary(tempPath);
        if (err != EEXIST) {
            errno = err;
            return -1;
        }
    }
    errno = EEXIST;
    return -1;
}

bool LinkTemporaryTo(const std::string& file, std::string& linkPath) {
    const std::string prefix =
        DirectoryOf(file) + "/" + std::string(kTempPrefix) + std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        linkPath = prefix + RandomSuffix() + std::string(kTempSuffix);
        NoteTemporary(linkPath);
        if (::link(file.c_str(), linkPath.c_str()) == 0) {
            return true;
        }
        const int err = errno;
        ForgetTemporary(linkPath);
        if (err != EEXIST) {
            errno = err;
            break;
        }
    }
    linkPath.clear();
    return false;
}

namespace {

void SyncDirectory(const std::string& dir) {
    // A rename is only durable once its directory is on the disk. Some file systems refuse
    // fsync on a directory; the replacement has happened either way, so that is not a failure.
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The descriptor a name such as /dev/stdout or /proc/self/fd/3 stands for when it is open in
// this process, else -1. Writing through the open descriptor keeps what the shell set up for
// it (appending, the position in a file) instead of opening the file anew.
int OwnDescriptor(const std::string& path) {
    int fd = -1;
    if (path == "/dev/stdout") {
        fd = STDOUT_FILENO;
    } else if (path == "/dev/stderr") {
        fd = STDERR_FILENO;
    } else {
        for (const std::string_view prefix : {"/dev/fd/", "/proc/self/fd/"}) {
            if (path.compare(0, prefix.size(), prefix) != 0) {
                continue;
            }
            const std::string rest = path.substr(prefix.size());
            if (AllDigits(rest) && rest.size() < 9) {
                fd = std::atoi(rest.c_str());
            }
        }
    }
    return fd >= 0 && ::fcntl(fd, F_GETFD) >= 0 ? fd : -1;
}

// Writes bytes into what is already there: an open descriptor of this process, a device, a
// FIFO or a terminal. Renaming a new file over such a name would replace the device node.
bool WriteInPlace(const std::string& path, std::span<const std::string_view> pieces,
                  std::string& error) {
    const int own = OwnDescriptor(path);
    FileDescriptor fd(own >= 0 ? -1 : ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY));
    const int out = own >= 0 ? own : fd.get();
    if (out < 0) {
        error = Describe("cannot open", path, errno);
        return false;
    }
    for (const std::string_view bytes : pieces) {
        if (!WriteAll(out, bytes)) {
            error = Describe("cannot write", path, errno);
            return false;
        }
    }
    if (!fd.Close()) {
        error = Describe("cannot write", path, errno);
        return false;
    }
    return true;
}

// Whether the user could write the existing file in place (errno says why not). The
// superuser may write any file, so for it a file with no write permission for anyone counts
// as read-only: such a file is kept, as it would be for its owner.
bool MayWriteInPlace(const std::string& target, const struct stat& old) {
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        return false;
    }
    if (::geteuid() == 0 && (old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        errno = EACCES;
        return false;
    }
    return true;
}

// Gives the new file the old file's owner and group where this process may (the superuser, or
// a member of the group for the group alone), then the old file's permission bits; the mode
// comes last because a change of owner clears the set-user-ID and set-group-ID bits.
bool CarryOverOwnerAndMode(int fd, const struct stat& old) {
    if ((old.st_uid != ::geteuid() || old.st_gid != ::getegid()) &&
        ::fchown(fd, old.st_uid, old.st_gid) != 0 &&
        ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
        // Neither is permitted: the new file keeps this process's user and group.
    }
    return ::fchmod(fd, old.st_mode & 07777) == 0;
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

std::string ReplacementDirectory(const std::string& path) {
    std::string target;
    std::string error;
    return DirectoryOf(ResolveTarget(path, target, error) ? target : path);
}

bool WritesInPlace(const std::string& path) {
    if (OwnDescriptor(path) >= 0) {
        return true;
    }
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
}

bool WritePiecesInPlace(const std::string& path, std::span<const std::string_view> pieces,
                        std::string& error) {
    error.clear();
    return WriteInPlace(path, pieces, error);
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& error,
                         MissingDirectories directories) {
    error.clear();
    if (path.empty()) {
        error = "no file name";
        return false;
    }
    if (WritesInPlace(path)) {
        return WriteInPlace(path, std::span(&bytes, 1), error);
    }
    std::string target;
    if (!ResolveTarget(path, target, error) || (directories == MissingDirectories::Create &&
                                                !CreateDirectories(DirectoryOf(target), error))) {
        return false;
    }
    struct stat old {};
    const bool hadFile = ::stat(target.c_str(), &old) == 0;
    // Renaming needs only the folder's permission: a file the user could not write in place
    // is not replaced either.
    if (hadFile && !MayWriteInPlace(target, old)) {
        error = Describe("cannot replace", target, errno);
        return false;
    }

    std::string tempPath;
    FileDescriptor fd(CreateTemporaryIn(DirectoryOf(target), tempPath));
    if (fd.get() < 0) {
        error = Describe("cannot create a file beside", target, errno);
        return false;
    }
    const char* step = "cannot write";
    bool ok = true;
    if (hadFile && !CarryOverOwnerAndMode(fd.get(), old)) {
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
        ForgetTemporary(tempPath);
        error = Describe(step, target, err);
        return false;
    }
    ForgetTemporary(tempPath);
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
    struct stat old {};
    const bool hadFile = ::stat(out.target.c_str(), &old) == 0;
    // A device or a FIFO is never renamed over, and a file written piece by piece through a
    // temporary cannot go into one: refused.
    if (hadFile && !S_ISREG(old.st_mode)) {
        error = "cannot write " + out.target + ": not a regular file";
        return false;
    }
    // As for a whole-file write: a file the user could not write in place is not replaced.
    if (hadFile && !MayWriteInPlace(out.target, old)) {
        error = Describe("cannot replace", out.target, errno);
        return false;
    }
    out.fd = CreateTemporaryIn(DirectoryOf(out.target), out.tempPath);
    if (out.fd < 0) {
        error = Describe("cannot create a file beside", out.target, errno);
        return false;
    }
    if (hadFile && !CarryOverOwnerAndMode(out.fd, old)) {
        error = Describe("cannot set the permissions of", out.target, errno);
        DiscardTempForTarget(out);
        return false;
    }
    return true;
}

bool CompleteTempForTarget(TempForTarget& temp, std::string& error) {
    error.clear();
    if (temp.fd < 0) {
        return !temp.tempPath.empty();
    }
    FileDescriptor fd(temp.fd);
    temp.fd = -1;
    const char* step = nullptr;
    if (::fsync(fd.get()) != 0) {
        step = "cannot flush";
    } else if (!fd.Close()) {
        step = "cannot write";
    }
    if (step != nullptr) {
        error = Describe(step, temp.target, errno);
        DiscardTempForTarget(temp);
        return false;
    }
    return true;
}

bool CommitTempForTarget(TempForTarget& temp, std::string& error) {
    if (!CompleteTempForTarget(temp, error)) {
        return false;
    }
    if (::rename(temp.tempPath.c_str(), temp.target.c_str()) != 0) {
        error = Describe("cannot replace", temp.target, errno);
        DiscardTempForTarget(temp);
        return false;
    }
    ForgetTemporary(temp.tempPath);
    temp.tempPath.clear();
    SyncDirectory(DirectoryOf(temp.target));
    return true;
}

void SyncFolderOf(const std::string& path) {
    SyncDirectory(DirectoryOf(path));
}

void DiscardTempForTarget(TempForTarget& temp) {
    if (temp.fd >= 0) {
        ::close(temp.fd);
        temp.fd = -1;
    }
    if (!temp.tempPath.empty()) {
        ::unlink(temp.tempPath.c_str());
        ForgetTemporary(temp.tempPath);
        temp.tempPath.clear();
    }
}

} // namespace yomi6
